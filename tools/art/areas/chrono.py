"""The chronology screen's pictures (ChronoBitmaps.rc).

Period buttons 1450-1458: two frames side by side (normal, pressed) and a
second row for the period shown; each frame is half the picture's width and
48 pixels high. Buttons 1459-1462, 1465, 1466: 20 x 20 frames; switches
1463, 1464 and the event list's icon 1512 add a second row for their marked
state. The time line's pictures (style sheet 10): 1467-1470 the four
categories' discs, 1471 the marker.
"""
from kit import Button, Look, font, frames, magnifier, plain, tree

PERIODS = [("Antiquité", "-3000 \u2013 0"), ("Début de notre ère", "0 \u2013 500"),
           ("Haut Moyen Âge", "500 \u2013 1000"), ("Moyen Âge", "1000 \u2013 1500"),
           ("Renaissance", "1500 \u2013 1650"), ("Grand Siècle", "1650 \u2013 1715"),
           ("Lumières", "1715 \u2013 1789"), ("Révolution", "1789 \u2013 1815"),
           ("XIXe siècle", "1815 \u2013 1914")]
WIDTHS = [554, 526, 538, 580, 538, 504, 514, 456, 424]
BACK = (235, 228, 205)
FACE = (246, 241, 226)
INK = (90, 60, 30)
GREY = (170, 160, 140)
PRESSED = (220, 205, 170)
MARKED = (150, 90, 40)
EDGE = (170, 150, 120)
TINTS = [(200, 40, 40), (40, 90, 200), (40, 150, 60), (150, 60, 160)]

LOOK = Button(size=(20, 20), ground=BACK, radius=3, looks=frames(FACE, INK, GREY, PRESSED, EDGE),
              marked=(Look(FACE, GREY, EDGE), Look(MARKED, FACE, EDGE), Look(MARKED, FACE, EDGE)))


def period(width, title, years):
    look = Button(size=(width // 2, 48), ground=BACK, radius=6, inset=2,
                  looks=(Look(FACE, INK, INK), Look(PRESSED, INK, INK)),
                  marked=(Look(MARKED, FACE, INK), Look(MARKED, FACE, INK)))

    def draw(d, ink):
        d.text((12, 6), title, font=font("LiberationSans-Bold.ttf", 17), fill=ink)
        d.text((12, 27), years, font=font("LiberationSans-Regular.ttf", 13), fill=ink)
        d.line([(width // 2 - 40, 24), (width // 2 - 14, 24)], fill=ink, width=2)
    return look.picture(draw, rows=2)


def arrow(right):
    def draw(d, ink):
        pts = [(7, 5), (13, 10), (7, 15)] if right else [(13, 5), (7, 10), (13, 15)]
        d.polygon(pts, fill=ink)
    return draw


def back(d, ink):
    d.line([(5, 10), (15, 10)], fill=ink, width=2)
    d.polygon([(4, 10), (9, 5), (9, 15)], fill=ink)


def key(d, ink):
    d.ellipse([3, 6, 9, 12], outline=ink, width=2)
    d.line([(9, 9), (17, 9)], fill=ink, width=2)
    d.line([(14, 9), (14, 13)], fill=ink, width=2)


def page(d, ink):
    d.rectangle([5, 3, 15, 17], outline=ink, width=2)
    for y in (7, 10, 13):
        d.line([(8, y), (12, y)], fill=ink)


def timeline(d, ink):
    d.line([(3, 13), (17, 13)], fill=ink, width=2)
    for x in (5, 10, 15):
        d.line([(x, 9), (x, 13)], fill=ink, width=2)


def events(d, ink):
    for y in (5, 10, 15):
        d.ellipse([3, y - 2, 7, y + 2], fill=ink)
        d.line([(9, y), (17, y)], fill=ink)


BUTTONS = {1459: arrow(False), 1460: arrow(True), 1461: magnifier, 1462: back, 1465: page, 1466: timeline}
SWITCHES = {1463: tree, 1464: key, 1512: events}


def pictures():
    for i, (title, years) in enumerate(PERIODS):
        yield f"chrono{1450 + i}", period(WIDTHS[i], title, years)
    for number, draw in BUTTONS.items():
        yield f"chrono{number}", LOOK.picture(draw)
    for number, draw in SWITCHES.items():
        yield f"chrono{number}", LOOK.picture(draw, rows=2)
    for c, tint in enumerate(TINTS):
        yield f"chrono{1467 + c}", plain((16, 16), BACK, lambda d: d.ellipse([1, 1, 14, 14], fill=tint, outline=INK))
    yield "chrono1471", plain((14, 12), (150, 120, 80),
                              lambda d: d.polygon([(7, 0), (0, 11), (13, 11)], fill=(220, 30, 30)))
