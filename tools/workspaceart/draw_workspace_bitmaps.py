#!/usr/bin/python3
"""Draws the button pictures of the dossier and note windows as 24-bit BMP files.

Each picture is a strip of three frames side by side (disabled, normal,
pressed), as the icon buttons read them. Run: draw_workspace_bitmaps.py
OUT_FOLDER (needs Pillow).
"""
import sys

from PIL import Image, ImageDraw

W, H = 28, 24
BACK = (214, 222, 232)
FACE = (246, 248, 251)
INK = (40, 66, 110)
GREY = (160, 164, 172)
PRESSED = (204, 216, 236)
RED = (176, 48, 40)


def folder(d, ink):
    d.polygon([(5, 7), (11, 7), (13, 9), (22, 9), (22, 18), (5, 18)], outline=ink, width=2)


def plus(d, ink):
    folder(d, ink)
    d.line([(18, 3), (18, 11)], fill=ink, width=2)
    d.line([(14, 7), (22, 7)], fill=ink, width=2)


def copy(d, ink):
    d.rectangle([5, 5, 15, 15], outline=ink, width=2)
    d.rectangle([11, 9, 21, 19], outline=ink, width=2, fill=FACE)


def cross(d, ink, red):
    d.line([(8, 6), (20, 18)], fill=red if ink != GREY else GREY, width=3)
    d.line([(20, 6), (8, 18)], fill=red if ink != GREY else GREY, width=3)


def trash(d, ink):
    d.rectangle([8, 8, 19, 19], outline=ink, width=2)
    d.line([(6, 6), (21, 6)], fill=ink, width=2)
    d.line([(12, 10), (12, 17)], fill=ink)
    d.line([(15, 10), (15, 17)], fill=ink)


def pen(d, ink):
    d.line([(7, 18), (19, 6)], fill=ink, width=3)
    d.polygon([(5, 20), (7, 15), (10, 18)], fill=ink)


def close(d, ink):
    cross(d, ink, INK)


def disk(d, ink):
    d.rectangle([6, 5, 21, 19], outline=ink, width=2)
    d.rectangle([9, 5, 18, 10], fill=ink)
    d.rectangle([9, 14, 18, 19], outline=ink)


def goto(d, ink):
    d.polygon([(6, 9), (14, 9), (14, 5), (22, 12), (14, 19), (14, 15), (6, 15)], fill=ink)


def left(d, ink):
    d.polygon([(17, 5), (9, 12), (17, 19)], fill=ink)


def right(d, ink):
    d.polygon([(10, 5), (18, 12), (10, 19)], fill=ink)


PICTURES = {
    6501: plus,
    6502: copy,
    6503: lambda d, c: cross(d, c, RED),
    6504: trash,
    6508: pen,
    6646: close,
    6660: disk,
    6621: left,
    6631: right,
    6643: trash,
    6647: goto,
}


def button(draw):
    strip = Image.new("RGB", (3 * W, H), BACK)
    for i, (back, ink) in enumerate([(FACE, GREY), (FACE, INK), (PRESSED, INK)]):
        frame = Image.new("RGB", (W, H), BACK)
        d = ImageDraw.Draw(frame)
        d.rounded_rectangle([1, 1, W - 2, H - 2], radius=4, fill=back, outline=(150, 166, 190))
        draw(d, ink)
        strip.paste(frame, (i * W, 0))
    return strip


def main(out):
    for number, draw in PICTURES.items():
        button(draw).save(f"{out}/ws{number}.bmp")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/bitmaps")
