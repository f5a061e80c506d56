"""The button pictures of the left dock and its result lists (LeftDockBitmaps.rc).

Buttons are 20 x 20 frames; a switch (an entry of a bar, the padlock) has a
second row for its marked state.
"""
from kit import Button, Look, frames, magnifier, tree

BACK = (238, 241, 247)
FACE = (246, 248, 251)
INK = (40, 66, 110)
GREY = (160, 164, 172)
PRESSED = (204, 216, 236)
MARKED = (56, 86, 134)
EDGE = (150, 166, 190)

LOOK = Button(size=(20, 20), ground=BACK, radius=3, looks=frames(FACE, INK, GREY, PRESSED, EDGE),
              marked=(Look(FACE, GREY, EDGE), Look(MARKED, FACE, EDGE), Look(MARKED, FACE, EDGE)))


def chevrons(right):
    def draw(d, ink):
        for x in (5, 10):
            pts = [(x, 5), (x + 5, 10), (x, 15)] if right else [(x + 5, 5), (x, 10), (x + 5, 15)]
            d.line(pts, fill=ink, width=2)
    return draw


def fold(d, ink):
    d.line([(4, 4), (4, 16)], fill=ink, width=2)
    d.polygon([(15, 5), (8, 10), (15, 15)], fill=ink)


def padlock(d, ink):
    d.rectangle([5, 9, 15, 16], fill=ink)
    d.arc([6, 3, 14, 13], 180, 360, fill=ink, width=2)


def sliders(d, ink):
    for y, x in ((6, 12), (10, 7), (14, 10)):
        d.line([(4, y), (16, y)], fill=ink)
        d.rectangle([x - 1, y - 2, x + 1, y + 2], fill=ink)


def letters(d, ink):
    d.line([(4, 15), (7, 5), (10, 15)], fill=ink, width=2)
    d.line([(11, 6), (16, 6), (11, 15), (16, 15)], fill=ink, width=2)


def clock(d, ink):
    d.ellipse([4, 4, 16, 16], outline=ink, width=2)
    d.line([(10, 10), (10, 6)], fill=ink, width=2)
    d.line([(10, 10), (13, 12)], fill=ink, width=2)


def tab(d, ink):
    d.rectangle([5, 5, 15, 15], outline=ink, width=2)
    d.rectangle([8, 8, 12, 12], fill=ink)


def disc(d, ink):
    d.ellipse([3, 3, 17, 17], outline=ink, width=2)
    d.ellipse([8, 8, 12, 12], fill=ink)


def globe(d, ink):
    d.ellipse([3, 3, 17, 17], outline=ink, width=2)
    d.line([(3, 10), (17, 10)], fill=ink)
    d.ellipse([7, 3, 13, 17], outline=ink)


def options(d, ink):
    d.polygon([(5, 8), (15, 8), (10, 13)], fill=ink)


def calendar(d, ink):
    d.rectangle([4, 5, 16, 16], outline=ink, width=2)
    d.line([(4, 8), (16, 8)], fill=ink, width=2)
    d.line([(7, 3), (7, 6)], fill=ink)
    d.line([(13, 3), (13, 6)], fill=ink)
    d.rectangle([9, 11, 11, 13], fill=ink)


def guide(d, ink):
    d.rectangle([4, 5, 16, 15], outline=ink, width=2)
    for y in (8, 11):
        d.line([(7, y), (13, y)], fill=ink)


BUTTONS = {1520: chevrons(True), 1521: chevrons(False), 1522: fold, 1542: guide}
SWITCHES = {1523: padlock, 1530: magnifier, 1531: sliders, 1532: letters, 1533: tree, 1534: clock, 1535: tab,
            1508: globe, 1509: disc, 1540: options, 1526: calendar}

# The result lists' option buttons: faces as wide as the button, which draws
# its caption over them (display and sort 92 x 18, filter 68 x 18); the chosen
# one, in the second row, is ringed.
OPTION_FACES = {**{n: 92 for n in (2501, 2502, 2503, 2511, 2512, 2513)}, **{n: 68 for n in range(2521, 2528)}}
OPTION_CHOSEN = (186, 204, 232)


def option_face(width, height=18):
    look = Button(size=(width, height), ground=BACK, radius=4,
                  looks=(Look(BACK, None, GREY), Look(FACE, None, EDGE), Look(PRESSED, None, EDGE)),
                  marked=(Look(BACK, None, GREY), Look(OPTION_CHOSEN, MARKED, EDGE),
                          Look(OPTION_CHOSEN, MARKED, EDGE)))

    def ring(d, ink):
        if ink:
            d.rounded_rectangle([1, 1, width - 2, height - 2], radius=3, outline=ink)
    return look.picture(ring, rows=2)


def pictures():
    for number, width in OPTION_FACES.items():
        yield f"ld{number}", option_face(width)
    for number, draw in BUTTONS.items():
        yield f"ld{number}", LOOK.picture(draw)
    for number, draw in SWITCHES.items():
        yield f"ld{number}", LOOK.picture(draw, rows=2)
