#!/usr/bin/python3
"""Draws the atlas pane's button pictures as 24-bit BMP files.

Two tab switches (1420 all maps: a globe; 1421 the shown map: a framed map
with a pin) and the countries button (1426: a flag), each a strip of three
frames (disabled, normal, pressed) with, for the switches, a second row for
their chosen state. Run: draw_atlas_bitmaps.py OUT_FOLDER (needs Pillow).
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


def main(out):
    strip(globe, 2).save(f"{out}/at1420.bmp")
    strip(shown_map, 2).save(f"{out}/at1421.bmp")
    strip(flag, 1).save(f"{out}/at1426.bmp")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/bitmaps")
