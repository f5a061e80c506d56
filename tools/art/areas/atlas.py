"""The atlas pane's button pictures (AtlasBitmaps.rc), in the left dock's look.

Two tab switches (1420 all maps: a globe; 1421 the shown map: a framed map
with a pin), with a second row for their chosen state, and the countries
button (1426: a flag).
"""
from areas.leftdock import LOOK


def globe(d, ink):
    d.ellipse([3, 3, 17, 17], outline=ink, width=2)
    d.line([(3, 10), (17, 10)], fill=ink)
    d.line([(10, 3), (10, 17)], fill=ink)
    d.arc([6, 3, 14, 17], 90, 270, fill=ink)


def shown_map(d, ink):
    d.rectangle([3, 5, 17, 16], outline=ink, width=1)
    d.line([(4, 13), (8, 9), (11, 12), (16, 7)], fill=ink)
    d.ellipse([9, 3, 13, 7], fill=ink)


def flag(d, ink):
    d.line([(5, 3), (5, 17)], fill=ink, width=2)
    d.polygon([(6, 4), (16, 6), (6, 10)], fill=ink)


def pictures():
    yield "at1420", LOOK.picture(globe, rows=2)
    yield "at1421", LOOK.picture(shown_map, rows=2)
    yield "at1426", LOOK.picture(flag)
