#!/usr/bin/env python3
"""Draws the main window's tool-bar pictures as 24-bit BMP files.

Each button picture is a strip of three frames side by side, in the order the
icon buttons read them with their disabled-frame flag: disabled, normal,
pressed. Run: draw_frame_bitmaps.py OUT_FOLDER (needs Pillow).
"""
import math
import sys

from PIL import Image, ImageDraw

W, H = 36, 32
BAND = (46, 74, 120)
FACE = (236, 240, 246)
INK = (32, 56, 96)
GREY = (150, 156, 166)
PRESSED = (200, 212, 232)


def arrow(d, ink, left):
    pts = [(8, 16), (18, 7), (18, 12), (28, 12), (28, 20), (18, 20), (18, 25)]
    if not left:
        pts = [(W - x, y) for x, y in pts]
    d.polygon(pts, fill=ink)


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


def folder(d, ink, plus):
    d.polygon([(6, 9), (14, 9), (16, 12), (30, 12), (30, 26), (6, 26)], fill=ink)
    if plus:
        d.rectangle([16, 15, 20, 25], fill=FACE)
        d.rectangle([13, 18, 23, 22], fill=FACE)


def printer(d, ink):
    d.rectangle([11, 5, 25, 12], outline=ink, width=2)
    d.rectangle([6, 12, 30, 22], fill=ink)
    d.rectangle([11, 18, 25, 27], fill=FACE, outline=ink, width=2)


def note(d, ink, plus):
    d.polygon([(8, 6), (28, 6), (28, 20), (21, 27), (8, 27)], outline=ink, fill=FACE)
    d.polygon([(8, 6), (28, 6), (28, 20), (21, 27), (8, 27)], outline=ink)
    for y in (11, 15, 19):
        d.line([(11, y), (25, y)], fill=ink)
    if plus:
        d.rectangle([24, 18, 32, 22], fill=ink)
        d.rectangle([26, 16, 30, 24], fill=ink)


PICTURES = {
    4040: lambda d, c: home(d, c),
    4041: lambda d, c: lens(d, c),
    4042: lambda d, c: compass(d, c),
    4043: lambda d, c: arrow(d, c, True),
    4044: lambda d, c: clock(d, c),
    4045: lambda d, c: arrow(d, c, False),
    4046: lambda d, c: gear(d, c),
    4047: lambda d, c: globe(d, c),
    4048: lambda d, c: folder(d, c, True),
    4049: lambda d, c: folder(d, c, False),
    4017: lambda d, c: printer(d, c),
    4125: lambda d, c: note(d, c, True),
    4126: lambda d, c: note(d, c, False),
}


def button(draw):
    strip = Image.new("RGB", (3 * W, H), BAND)
    for i, (back, ink) in enumerate([(FACE, GREY), (FACE, INK), (PRESSED, INK)]):
        frame = Image.new("RGB", (W, H), BAND)
        d = ImageDraw.Draw(frame)
        d.rounded_rectangle([1, 1, W - 2, H - 2], radius=5, fill=back)
        draw(d, ink)
        strip.paste(frame, (i * W, 0))
    return strip


def band():
    img = Image.new("RGB", (1280, 40), BAND)
    d = ImageDraw.Draw(img)
    for y in range(40):
        t = y / 39
        c = tuple(int(a + (b - a) * t) for a, b in zip((70, 104, 156), BAND))
        d.line([(0, y), (1279, y)], fill=c)
    return img


def lamp(color):
    img = Image.new("RGB", (16, 16), BAND)
    d = ImageDraw.Draw(img)
    d.ellipse([2, 2, 13, 13], fill=color, outline=(20, 20, 20))
    return img


def state_lamp(color, bars):
    """An online-state picture: a lamp, and bars for the filter level (1096 + level)."""
    img = lamp(color)
    d = ImageDraw.Draw(img)
    for k in range(bars):
        d.rectangle([4 + 3 * k, 7, 5 + 3 * k, 9], fill=(255, 255, 255))
    return img


# 1096 connected (filter level 0) to 1099 not connected (filter level 3).
STATES = {1096: ((70, 170, 80), 0), 1097: ((150, 190, 60), 1), 1098: ((230, 150, 40), 2), 1099: ((200, 60, 50), 3)}


def main(out):
    for number, draw in PICTURES.items():
        button(draw).save(f"{out}/tool{number}.bmp")
    band().save(f"{out}/tool4015.bmp")
    lamp((200, 60, 50)).save(f"{out}/tool4050.bmp")
    lamp((70, 170, 80)).save(f"{out}/tool4051.bmp")
    for number, (color, bars) in STATES.items():
        state_lamp(color, bars).save(f"{out}/state{number}.bmp")


if __name__ == "__main__":
    main(sys.argv[1])
