#!/usr/bin/env python3
"""Draws the pictures of the find dialog "Rechercher un mot" as 24-bit BMP
files: the panel behind the text field (4001) and the three labelled buttons
ANNULER (4002), SUIVANT (4003) and PRÉCÉDENT (4004).

A button is one row of three frames (disabled, normal, pointed), each exactly
the size of its place in the layout "RechDialog", as icon buttons with the
disabled-frame flag read them.
Run: /usr/bin/python3 draw_find_bitmaps.py OUT_FOLDER (needs Pillow).
"""
import sys

from PIL import Image, ImageDraw, ImageFont

SHEET = (232, 237, 253)
INK = (32, 56, 96)
GREY = (150, 156, 166)
POINTED = (200, 212, 232)
BUTTON = (46, 74, 120)
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# number: (width, height, label) of each button's place in the layout.
BUTTONS = {4002: (50, 15, "ANNULER"), 4003: (48, 15, "SUIVANT"), 4004: (59, 15, "PRÉCÉDENT")}
# The panel: the static image's place; the field sits 7 right and 23 down in it.
PANEL = (4001, 219, 43, "Rechercher un mot")


def text_width(text, font):
    return ImageDraw.Draw(Image.new("RGB", (1, 1))).textlength(text, font=font)


def button(width, height, text):
    font = ImageFont.truetype(BOLD, 8)
    im = Image.new("RGB", (3 * width, height), SHEET)
    d = ImageDraw.Draw(im)
    for col, (face, ink) in enumerate([(GREY, SHEET), (BUTTON, (255, 255, 255)), (INK, POINTED)]):
        x = col * width
        d.rounded_rectangle([x, 0, x + width - 1, height - 1], radius=4, fill=face)
        d.text((x + (width - text_width(text, font)) / 2, 3), text, fill=ink, font=font)
    return im


def panel(width, height, text):
    im = Image.new("RGB", (width, height), SHEET)
    d = ImageDraw.Draw(im)
    d.rounded_rectangle([0, 0, width - 1, height - 1], radius=6, fill=(246, 248, 254), outline=GREY)
    d.text((7, 4), text, fill=INK, font=ImageFont.truetype(BOLD, 11))
    d.rectangle([6, 22, width - 8, 38], outline=GREY)
    return im


def main(out):
    number, w, h, text = PANEL
    panel(w, h, text).save(f"{out}/find{number}.bmp")
    for number, (w, h, text) in BUTTONS.items():
        button(w, h, text).save(f"{out}/find{number}.bmp")


if __name__ == "__main__":
    main(sys.argv[1])
