#!/usr/bin/python3
"""Draws the atlas pane's button pictures as 24-bit BMP files.

Two tab switches (1420 all maps: a globe; 1421 the shown map: a framed map
with a pin) and the countries button (1426: a flag), each a strip of three
frames (disabled, normal, pressed) with, for the switches, a second row for
their chosen state. Run: draw_atlas_bitmaps.py OUT_FOLDER (needs Pillow).
"""
import os
import sys

# The strips are drawn as the left dock's: same frames, same colours.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "leftdockart"))
from draw_leftdock_bitmaps import strip  # noqa: E402


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


def main(out):
    strip(globe, 2).save(f"{out}/at1420.bmp")
    strip(shown_map, 2).save(f"{out}/at1421.bmp")
    strip(flag, 1).save(f"{out}/at1426.bmp")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/bitmaps")
