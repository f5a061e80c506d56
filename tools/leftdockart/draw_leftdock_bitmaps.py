#!/usr/bin/python3
"""Draws the button pictures of the left dock and its result lists as 24-bit BMP files.

A picture is a strip of three frames side by side (disabled, normal,
pressed); a switch (an entry of a bar, the padlock) has a second row for its
marked state. Run: draw_leftdock_bitmaps.py OUT_FOLDER (needs Pillow).
"""
import sys

from PIL import Image, ImageDraw

W, H = 20, 20
BACK = (238, 241, 247)
FACE = (246, 248, 251)
INK = (40, 66, 110)
GREY = (160, 164, 172)
PRESSED = (204, 216, 236)
MARKED = (56, 86, 134)


def chevrons(d, ink, right):
    for x in (5, 10):
        pts = [(x, 5), (x + 5, 10), (x, 15)] if right else [(x + 5, 5), (x, 10), (x + 5, 15)]
        d.line(pts, fill=ink, width=2)


def fold(d, ink):
    d.line([(4, 4), (4, 16)], fill=ink, width=2)
    d.polygon([(15, 5), (8, 10), (15, 15)], fill=ink)


def padlock(d, ink):
    d.rectangle([5, 9, 15, 16], fill=ink)
    d.arc([6, 3, 14, 13], 180, 360, fill=ink, width=2)


def magnifier(d, ink):
    d.ellipse([4, 4, 12, 12], outline=ink, width=2)
    d.line([(11, 11), (16, 16)], fill=ink, width=3)


def sliders(d, ink):
    for y, x in ((6, 12), (10, 7), (14, 10)):
        d.line([(4, y), (16, y)], fill=ink)
        d.rectangle([x - 1, y - 2, x + 1, y + 2], fill=ink)


def letters(d, ink):
    d.line([(4, 15), (7, 5), (10, 15)], fill=ink, width=2)
    d.line([(11, 6), (16, 6), (11, 15), (16, 15)], fill=ink, width=2)


def tree(d, ink):
    d.rectangle([4, 4, 8, 7], fill=ink)
    d.line([(6, 7), (6, 14), (11, 14)], fill=ink)
    d.line([(6, 10), (11, 10)], fill=ink)
    d.rectangle([11, 9, 15, 11], fill=ink)
    d.rectangle([11, 13, 15, 15], fill=ink)


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


BUTTONS = {1520: lambda d, c: chevrons(d, c, True), 1521: lambda d, c: chevrons(d, c, False), 1522: fold, 1542: guide}
SWITCHES = {1523: padlock, 1530: magnifier, 1531: sliders, 1532: letters, 1533: tree, 1534: clock, 1535: tab,
            1508: globe, 1509: disc, 1540: options, 1526: calendar}


def strip(draw, rows):
    image = Image.new("RGB", (3 * W, rows * H), BACK)
    for row in range(rows):
        marked = row == 1
        for i, (back, ink) in enumerate([(FACE, GREY), (FACE, INK), (PRESSED, INK)]):
            frame = Image.new("RGB", (W, H), BACK)
            d = ImageDraw.Draw(frame)
            fill = MARKED if marked and i else back
            d.rounded_rectangle([0, 0, W - 1, H - 1], radius=3, fill=fill, outline=(150, 166, 190))
            draw(d, FACE if marked and i else ink)
            image.paste(frame, (i * W, row * H))
    return image


# The result lists' option buttons: faces as wide as the button, which draws
# its caption over them (display and sort 92 x 18, filter 68 x 18).
OPTION_FACES = {**{n: 92 for n in (2501, 2502, 2503, 2511, 2512, 2513)}, **{n: 68 for n in range(2521, 2528)}}
OPTION_CHOSEN = (186, 204, 232)


def option_face(width, height=18):
    image = Image.new("RGB", (3 * width, 2 * height), BACK)
    for row in range(2):
        for i, back in enumerate([BACK, FACE, PRESSED]):
            frame = Image.new("RGB", (width, height), BACK)
            d = ImageDraw.Draw(frame)
            fill = OPTION_CHOSEN if row == 1 and i else back
            edge = GREY if i == 0 else (150, 166, 190)
            d.rounded_rectangle([0, 0, width - 1, height - 1], radius=4, fill=fill, outline=edge)
            if row == 1 and i:
                d.rounded_rectangle([1, 1, width - 2, height - 2], radius=3, outline=MARKED)
            image.paste(frame, (i * width, row * height))
    return image


def main(out):
    for number, width in OPTION_FACES.items():
        option_face(width).save(f"{out}/ld{number}.bmp")
    for number, draw in BUTTONS.items():
        strip(draw, 1).save(f"{out}/ld{number}.bmp")
    for number, draw in SWITCHES.items():
        strip(draw, 2).save(f"{out}/ld{number}.bmp")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/bitmaps")
