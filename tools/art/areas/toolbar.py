"""The main window's tool-bar pictures (FrameBitmaps.rc: tool*, state*) and
the browser pane's buttons (BrowserBitmaps.rc: browser*).

Tool-bar buttons are 36 x 32 frames on the bar's band; the browser's are
24 x 24 on its black band, their disabled frame washed out to grey.
"""
import math

from PIL import Image, ImageDraw

from kit import Button, Look, frames

W, H = 36, 32
BAND = (46, 74, 120)
FACE = (236, 240, 246)
INK = (32, 56, 96)
GREY = (150, 156, 166)
PRESSED = (200, 212, 232)

LOOK = Button(size=(W, H), ground=BAND, radius=5, inset=1, looks=frames(FACE, INK, GREY, PRESSED))


def arrow(left):
    def draw(d, ink):
        pts = [(8, 16), (18, 7), (18, 12), (28, 12), (28, 20), (18, 20), (18, 25)]
        if not left:
            pts = [(W - x, y) for x, y in pts]
        d.polygon(pts, fill=ink)
    return draw


def home(d, ink):
    d.polygon([(18, 5), (6, 16), (10, 16), (10, 26), (26, 26), (26, 16), (30, 16)], fill=ink)
    d.rectangle([16, 19, 20, 26], fill=FACE)


def lens(d, ink):
    d.ellipse([7, 6, 21, 20], outline=ink, width=3)
    d.line([(19, 18), (28, 27)], fill=ink, width=4)


def compass(d, ink):
    d.ellipse([7, 5, 29, 27], outline=ink, width=2)
    d.polygon([(18, 8), (21, 16), (18, 24), (15, 16)], fill=ink)


def clock(d, ink):
    d.ellipse([7, 5, 29, 27], outline=ink, width=2)
    d.line([(18, 16), (18, 9)], fill=ink, width=2)
    d.line([(18, 16), (24, 19)], fill=ink, width=2)


def gear(d, ink):
    for k in range(8):
        a = k * math.pi / 4
        x, y = 18 + 10 * math.cos(a), 16 + 10 * math.sin(a)
        d.ellipse([x - 3, y - 3, x + 3, y + 3], fill=ink)
    d.ellipse([10, 8, 26, 24], fill=ink)
    d.ellipse([15, 13, 21, 19], fill=FACE)


def globe(d, ink):
    d.ellipse([7, 5, 29, 27], outline=ink, width=2)
    d.ellipse([13, 5, 23, 27], outline=ink, width=1)
    d.line([(7, 16), (29, 16)], fill=ink)
    d.line([(9, 10), (27, 10)], fill=ink)
    d.line([(9, 22), (27, 22)], fill=ink)


def folder(plus):
    def draw(d, ink):
        d.polygon([(6, 9), (14, 9), (16, 12), (30, 12), (30, 26), (6, 26)], fill=ink)
        if plus:
            d.rectangle([16, 15, 20, 25], fill=FACE)
            d.rectangle([13, 18, 23, 22], fill=FACE)
    return draw


def printer(d, ink):
    d.rectangle([11, 5, 25, 12], outline=ink, width=2)
    d.rectangle([6, 12, 30, 22], fill=ink)
    d.rectangle([11, 18, 25, 27], fill=FACE, outline=ink, width=2)


def note(plus):
    def draw(d, ink):
        d.polygon([(8, 6), (28, 6), (28, 20), (21, 27), (8, 27)], outline=ink, fill=FACE)
        d.polygon([(8, 6), (28, 6), (28, 20), (21, 27), (8, 27)], outline=ink)
        for y in (11, 15, 19):
            d.line([(11, y), (25, y)], fill=ink)
        if plus:
            d.rectangle([24, 18, 32, 22], fill=ink)
            d.rectangle([26, 16, 30, 24], fill=ink)
    return draw


BUTTONS = {4040: home, 4041: lens, 4042: compass, 4043: arrow(True), 4044: clock, 4045: arrow(False), 4046: gear,
           4047: globe, 4048: folder(True), 4049: folder(False), 4017: printer, 4125: note(True),
           4126: note(False)}


def band():
    img = Image.new("RGB", (1280, 40), BAND)
    d = ImageDraw.Draw(img)
    for y in range(40):
        t = y / 39
        c = tuple(int(a + (b - a) * t) for a, b in zip((70, 104, 156), BAND))
        d.line([(0, y), (1279, y)], fill=c)
    return img


def lamp(color, bars=0):
    """A lamp; an online-state picture adds bars for the filter level."""
    img = Image.new("RGB", (16, 16), BAND)
    d = ImageDraw.Draw(img)
    d.ellipse([2, 2, 13, 13], fill=color, outline=(20, 20, 20))
    for k in range(bars):
        d.rectangle([4 + 3 * k, 7, 5 + 3 * k, 9], fill=(255, 255, 255))
    return img


# 1096 connected (filter level 0) to 1099 not connected (filter level 3).
STATES = {1096: ((70, 170, 80), 0), 1097: ((150, 190, 60), 1), 1098: ((230, 150, 40), 2), 1099: ((200, 60, 50), 3)}

BROWSER_FACE = (226, 230, 236)
BROWSER_GREY = (120, 120, 120)
BROWSER = Button(size=(24, 24), ground=(34, 34, 34), radius=4, washed=(BROWSER_GREY, 0.6),
                 looks=(Look(BROWSER_GREY, INK), Look(BROWSER_FACE, INK), Look((176, 190, 214), INK)))


def alert(d, ink):
    d.polygon([(12, 3), (21, 20), (3, 20)], outline=ink, fill=(250, 214, 80))
    d.rectangle([11, 8, 13, 14], fill=ink)
    d.rectangle([11, 16, 13, 18], fill=ink)


def stop(d, ink):
    d.polygon([(8, 3), (16, 3), (21, 8), (21, 16), (16, 21), (8, 21), (3, 16), (3, 8)], fill=(196, 48, 40))
    d.line([(8, 8), (16, 16)], fill=BROWSER_FACE, width=3)
    d.line([(16, 8), (8, 16)], fill=BROWSER_FACE, width=3)


def reload(d, ink):
    d.arc([4, 4, 20, 20], 40, 330, fill=ink, width=3)
    d.polygon([(15, 3), (21, 9), (14, 10)], fill=ink)


def pictures():
    for number, draw in BUTTONS.items():
        yield f"tool{number}", LOOK.picture(draw)
    yield "tool4015", band()
    yield "tool4050", lamp((200, 60, 50))
    yield "tool4051", lamp((70, 170, 80))
    for number, (color, bars) in STATES.items():
        yield f"state{number}", lamp(color, bars)
    for number, draw in ((1076, alert), (1068, stop), (1067, reload)):
        yield f"browser{number}", BROWSER.picture(draw)
