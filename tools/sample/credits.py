#!/usr/bin/env python3
"""Draws "Credits.bmp", the picture the reader shows while it quits.

credits.py OUT writes OUT/Credits.bmp (24-bit, 400 x 300) unless it is there:
the sample's name and where its texts come from.
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

LINES = [
    ("Savantorium", 28),
    ("encyclopédie d'exemple", 16),
    ("", 10),
    ("Textes : aides françaises de GIMP et de LibreOffice,", 12),
    ("pages de manuel en français, thésaurus français,", 12),
    ("calendriers historiques des paquets Debian.", 12),
    ("", 10),
    ("Merci de votre lecture.", 14),
]


def font(size):
    for name in ("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                 "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"):
        if os.path.exists(name):
            return ImageFont.truetype(name, size)
    return ImageFont.load_default()


def main():
    path = os.path.join(sys.argv[1], "Credits.bmp")
    if os.path.exists(path) and os.path.getmtime(path) >= os.path.getmtime(__file__):
        return
    picture = Image.new("RGB", (400, 300), (28, 44, 78))
    draw = ImageDraw.Draw(picture)
    y = 40
    for text, size in LINES:
        f = font(size)
        width = draw.textlength(text, font=f)
        draw.text(((400 - width) / 2, y), text, font=f, fill=(240, 226, 180))
        y += size + 10
    picture.save(path + ".tmp", "BMP")
    os.replace(path + ".tmp", path)


if __name__ == "__main__":
    main()
