#!/usr/bin/env python3
"""Draws the target picture that the target view puts over a page (bitmap 1024):
a red ring with a cross on white, 24-bit BMP, 31 by 31 so that it centres on a pixel.
Run: draw_target.py OUT_FILE (needs Pillow).
"""
import sys

from PIL import Image, ImageDraw

SIZE = 31
RED = (204, 0, 0)


def main():
    image = Image.new("RGB", (SIZE, SIZE), (255, 255, 255))
    d = ImageDraw.Draw(image)
    d.ellipse((2, 2, SIZE - 3, SIZE - 3), outline=RED, width=3)
    mid = SIZE // 2
    d.line((mid, 0, mid, SIZE - 1), fill=RED, width=1)
    d.line((0, mid, SIZE - 1, mid), fill=RED, width=1)
    image.save(sys.argv[1], "BMP")


if __name__ == "__main__":
    main()
