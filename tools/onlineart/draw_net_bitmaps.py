#!/usr/bin/env python3
"""Draws the pictures of the account wizard and the preferences dialog:
bitmap 1541, the wizard's banner (431 by 64: a blue gradient with a globe and
two link rings), and bitmap 6090, the arrow of the preferences' popup buttons
(16 by 16). 24-bit BMP files.
Run: draw_net_bitmaps.py OUT_FOLDER (needs Pillow).
"""
import os
import sys

from PIL import Image, ImageDraw


def banner():
    width, height = 431, 64
    image = Image.new("RGB", (width, height))
    d = ImageDraw.Draw(image)
    for x in range(width):
        t = x / (width - 1)
        d.line((x, 0, x, height), fill=(int(20 + 40 * t), int(60 + 90 * t), int(140 + 90 * t)))
    # A globe: a disc with meridians and parallels.
    cx, cy, r = 40, 32, 24
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=(235, 242, 250), outline=(255, 255, 255), width=2)
    for k in (-12, 0, 12):
        d.arc((cx - r + abs(k), cy - r, cx + r - abs(k), cy + r), 0, 360, fill=(60, 110, 170))
    for k in (-12, 0, 12):
        d.line((cx - r + 4, cy + k, cx + r - 4, cy + k), fill=(60, 110, 170))
    # Two linked rings.
    for i, colour in enumerate(((255, 200, 60), (255, 255, 255))):
        x = 330 + i * 26
        d.ellipse((x, 18, x + 34, 46), outline=colour, width=4)
    # A band under the title place.
    d.rectangle((80, 50, 300, 52), fill=(255, 200, 60))
    return image


def arrow():
    image = Image.new("RGB", (16, 16), (236, 240, 246))
    d = ImageDraw.Draw(image)
    d.rectangle((0, 0, 15, 15), outline=(120, 130, 150))
    d.polygon(((4, 6), (12, 6), (8, 11)), fill=(30, 50, 90))
    return image


def main():
    out = sys.argv[1]
    banner().save(os.path.join(out, "net1541.bmp"), "BMP")
    arrow().save(os.path.join(out, "pref6090.bmp"), "BMP")


if __name__ == "__main__":
    main()
