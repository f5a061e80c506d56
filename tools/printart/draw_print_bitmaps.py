#!/usr/bin/env python3
"""Draws the pictures of the print and export sheets and of the print preview
as 24-bit BMP files: the option panels with their labels, the check box strip
and the labelled buttons.

A check box strip is two rows of three frames (disabled, normal, pointed):
unchecked above, checked below, as icon buttons with the two-rows and
disabled-frame flags read them. A button is one row of the same three frames.
Run: /usr/bin/python3 draw_print_bitmaps.py OUT_FOLDER (needs Pillow).
"""
import sys

from PIL import Image, ImageDraw, ImageFont

SHEET = (236, 240, 246)
INK = (32, 56, 96)
GREY = (150, 156, 166)
POINTED = (200, 212, 232)
BUTTON = (46, 74, 120)
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
BOX = 16

# Panel pictures: number, size, then (x, y, text, size) labels. The check
# boxes of the layouts sit at x 12, 2 above each label's y.
TEXT_LABELS = [
    (36, 12, "{verb} le texte complet", 12),
    (36, 38, "{verb} la sélection seulement", 12),
    (36, 70, "Caractères :", 12),
    (150, 72, "A", 10), (206, 68, "A", 14), (262, 64, "A", 18),
    (36, 102, "Avec le sommaire en tête", 12),
    (36, 128, "Avec les notes en fin d'article", 12),
    (36, 154, "Avec les médias au fil du texte", 12),
]
PANELS = {
    4610: (380, 184, [(x, y, t.format(verb="Imprimer"), s) for x, y, t, s in TEXT_LABELS]),
    4611: (380, 184, [(36, 12, "Imprimer le média pleine page", 12),
                      (36, 38, "Imprimer le média et sa légende", 12)]),
    4612: (380, 184, [(36, 12, "Imprimer la page complète", 12),
                      (36, 38, "Imprimer la sélection seulement", 12),
                      (36, 64, "Ajuster les pages", 12),
                      (36, 90, "Imprimer la couleur de fond", 12),
                      (36, 116, "Imprimer les images de fond", 12)]),
    4613: (380, 184, [(x, y, t.format(verb="Exporter"), s) for x, y, t, s in TEXT_LABELS]),
}
BUTTONS = {4620: "OK", 4621: "ANNULER", 4622: "EXPORTER", 4623: "IMPRIMER", 4624: "MISE EN PAGE...",
           4625: "OPTIONS D'IMPRIMANTE ...", 4626: "PRÉCÉDENT", 4627: "SUIVANT"}
# The preview's tab: the whole-page check box sits at x 8, y 4 on it.
TAB = (4630, 200, 24, "VOIR LA PAGE ENTIÈRE")
BUTTON_H = 24


def panel(width, height, labels):
    im = Image.new("RGB", (width, height), SHEET)
    d = ImageDraw.Draw(im)
    d.rectangle([0, 0, width - 1, height - 1], outline=GREY)
    for x, y, text, size in labels:
        d.text((x, y), text, fill=INK, font=ImageFont.truetype(FONT, size))
    return im


def check_box(d, x, y, face, ink, checked):
    d.rectangle([x, y, x + BOX - 1, y + BOX - 1], fill=face, outline=ink)
    if checked:
        d.line([(x + 3, y + 8), (x + 6, y + 12), (x + 12, y + 3)], fill=ink, width=2)


def check_strip():
    im = Image.new("RGB", (3 * BOX, 2 * BOX), SHEET)
    d = ImageDraw.Draw(im)
    for row in range(2):
        for col, (face, ink) in enumerate([(SHEET, GREY), ((255, 255, 255), INK), (POINTED, INK)]):
            check_box(d, col * BOX, row * BOX, face, ink, row == 1)
    return im


def button(text):
    font = ImageFont.truetype(BOLD, 11)
    width = max(64, int(d_len(text, font)) + 20)
    im = Image.new("RGB", (3 * width, BUTTON_H), SHEET)
    d = ImageDraw.Draw(im)
    for col, (face, ink) in enumerate([(GREY, SHEET), (BUTTON, (255, 255, 255)), (INK, POINTED)]):
        x = col * width
        d.rounded_rectangle([x + 1, 1, x + width - 2, BUTTON_H - 2], radius=5, fill=face)
        w = d_len(text, font)
        d.text((x + (width - w) / 2, 5), text, fill=ink, font=font)
    return im, width


def d_len(text, font):
    return ImageDraw.Draw(Image.new("RGB", (1, 1))).textlength(text, font=font)


def tab(width, height, text):
    im = Image.new("RGB", (width, height), (192, 192, 192))
    d = ImageDraw.Draw(im)
    d.rounded_rectangle([0, 0, width - 1, height + 6], radius=6, fill=SHEET, outline=GREY)
    d.text((30, 5), text, fill=INK, font=ImageFont.truetype(BOLD, 11))
    return im


def main(out):
    number, w, h, text = TAB
    tab(w, h, text).save(f"{out}/print{number}.bmp")
    for number, (w, h, labels) in PANELS.items():
        panel(w, h, labels).save(f"{out}/print{number}.bmp")
    check_strip().save(f"{out}/print4601.bmp")
    for number, text in BUTTONS.items():
        im, width = button(text)
        im.save(f"{out}/print{number}.bmp")
        print(number, text, width)


if __name__ == "__main__":
    main(sys.argv[1])
