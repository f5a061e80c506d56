"""The pictures of the print and export sheets and of the print preview
(PrintBitmaps.rc): the option panels with their labels, the check box strip
and the labelled buttons.

A check box strip is two rows of three frames (disabled, normal, pointed):
unchecked above, checked below, as icon buttons with the two-rows and
disabled-frame flags read them. A button is one row of the same three frames,
as wide as its label needs.
"""
from PIL import Image, ImageDraw

from kit import Button, Look, font, label, text_width

SHEET = (236, 240, 246)
INK = (32, 56, 96)
GREY = (150, 156, 166)
POINTED = (200, 212, 232)
BUTTON = (46, 74, 120)
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
        d.text((x, y), text, fill=INK, font=font("DejaVuSans.ttf", size))
    return im


def check_box(checked):
    def draw(d, ink):
        if checked:
            d.line([(3, 8), (6, 12), (12, 3)], fill=ink, width=2)
    return draw


CHECK_BOX = Button(size=(BOX, BOX), ground=SHEET,
                   looks=(Look(SHEET, GREY, GREY), Look((255, 255, 255), INK, INK), Look(POINTED, INK, INK)))


def button(text):
    face = font("DejaVuSans-Bold.ttf", 11)
    width = max(64, int(text_width(text, face)) + 20)
    look = Button(size=(width, BUTTON_H), ground=SHEET, radius=5, inset=1,
                  looks=(Look(GREY, SHEET), Look(BUTTON, (255, 255, 255)), Look(INK, POINTED)))
    return look.picture(label(text, face, width, 5))


def tab(width, height, text):
    im = Image.new("RGB", (width, height), (192, 192, 192))
    d = ImageDraw.Draw(im)
    d.rounded_rectangle([0, 0, width - 1, height + 6], radius=6, fill=SHEET, outline=GREY)
    d.text((30, 5), text, fill=INK, font=font("DejaVuSans-Bold.ttf", 11))
    return im


def pictures():
    number, w, h, text = TAB
    yield f"print{number}", tab(w, h, text)
    for number, (w, h, labels) in PANELS.items():
        yield f"print{number}", panel(w, h, labels)
    yield "print4601", CHECK_BOX.picture([check_box(False), check_box(True)])
    for number, text in BUTTONS.items():
        yield f"print{number}", button(text)
