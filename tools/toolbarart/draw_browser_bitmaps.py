#!/usr/bin/env python3
"""Draws the browser pane's button pictures as 24-bit BMP files.

Each picture is a strip of three frames side by side, in the order the icon
buttons read them with their disabled-frame flag: disabled, normal, pressed. 1076 the alert button,
1068 stop, 1067 reload. Run: draw_browser_bitmaps.py OUT_FOLDER (needs Pillow).
"""
import sys

from PIL import Image, ImageDraw

W, H = 24, 24
BAND = (34, 34, 34)
FACE = (226, 230, 236)
PRESSED = (176, 190, 214)
INK = (32, 56, 96)
GREY = (120, 120, 120)


def alert(d):
    d.polygon([(12, 3), (21, 20), (3, 20)], outline=INK, fill=(250, 214, 80))
    d.rectangle([11, 8, 13, 14], fill=INK)
    d.rectangle([11, 16, 13, 18], fill=INK)


def stop(d):
    d.polygon([(8, 3), (16, 3), (21, 8), (21, 16), (16, 21), (8, 21), (3, 16), (3, 8)], fill=(196, 48, 40))
    d.line([(8, 8), (16, 16)], fill=FACE, width=3)
    d.line([(16, 8), (8, 16)], fill=FACE, width=3)


def reload(d):
    d.arc([4, 4, 20, 20], 40, 330, fill=INK, width=3)
    d.polygon([(15, 3), (21, 9), (14, 10)], fill=INK)


def strip(draw):
    img = Image.new("RGB", (3 * W, H), BAND)
    for i, face in enumerate((GREY, FACE, PRESSED)):
        frame = Image.new("RGB", (W, H), BAND)
        d = ImageDraw.Draw(frame)
        d.rounded_rectangle([0, 0, W - 1, H - 1], 4, fill=face)
        draw(d)
        if i == 0:
            # Disabled: the picture washed out to the face's grey.
            frame = Image.blend(frame, Image.new("RGB", (W, H), GREY), 0.6)
        img.paste(frame, (i * W, 0))
    return img


def main(out):
    for number, draw in ((1076, alert), (1068, stop), (1067, reload)):
        strip(draw).save(f"{out}/browser{number}.bmp")


if __name__ == "__main__":
    main(sys.argv[1])
