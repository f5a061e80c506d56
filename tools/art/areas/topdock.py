"""The top dock's pictures (TopDockBitmaps.rc).

Buttons are 24 x 24 frames; each glyph follows its tooltip in string list
6007. The buttons of a range of choices have a second row, with a thick edge,
for the chosen one. The pictures of the left end (1101, 1130 to 1133) carry
the name of the left dock's mode.
"""
from PIL import Image, ImageDraw

from kit import Button, Look, font, frames, plain

W = H = 24
DOCK = (153, 204, 204)
FACE = (236, 244, 244)
INK = (24, 70, 86)
GREY = (150, 164, 168)
PRESSED = (196, 226, 226)
HIT = (214, 120, 20)
EDGE = (96, 150, 156)

LOOK = Button(size=(W, H), ground=DOCK, radius=4, looks=frames(FACE, INK, GREY, PRESSED, EDGE),
              marked=(Look(FACE, GREY, INK, 2), Look(PRESSED, INK, INK, 2), Look(PRESSED, INK, INK, 2)))


def bold(size):
    return font("DejaVuSans-Bold.ttf", size)


def letters(text, size=10):
    def draw(d, ink):
        f = bold(size)
        box = d.textbbox((0, 0), text, font=f)
        d.text(((W - (box[2] - box[0])) / 2 - box[0], (H - (box[3] - box[1])) / 2 - box[1]), text, fill=ink, font=f)
    return draw


def history(d, ink):  # " historique des requêtes"
    d.ellipse([5, 5, 19, 19], outline=ink, width=2)
    d.line([(12, 8), (12, 12), (15, 14)], fill=ink, width=2)


def search(d, ink):  # " lancer la recherche"
    d.ellipse([5, 4, 15, 14], outline=ink, width=2)
    d.line([(14, 13), (20, 19)], fill=ink, width=3)


def find_in_doc(d, ink):  # " rechercher dans le document"
    d.rectangle([4, 4, 14, 19], outline=ink)
    for y in (7, 10, 13):
        d.line([(6, y), (12, y)], fill=ink)
    d.ellipse([11, 9, 18, 16], outline=ink, width=2)
    d.line([(17, 15), (21, 19)], fill=ink, width=2)


def triangle(left):
    def draw(d, ink):  # " occurrence précédente" / " occurrence suivante"
        pts = [(15, 6), (8, 12), (15, 18)] if left else [(9, 6), (16, 12), (9, 18)]
        d.polygon(pts, fill=ink)
    return draw


def highlight(d, ink):  # " activer / désactiver la surbrillance"
    d.rectangle([4, 8, 20, 16], fill=HIT if ink != GREY else GREY)
    d.text((6, 6), "ab", fill=ink, font=bold(9))


def outline_list(d, ink):  # " sommaire"
    for i, y in enumerate((6, 11, 16)):
        d.rectangle([5, y, 7, y + 2], fill=ink)
        d.line([(10, y + 1), (19 - 2 * i, y + 1)], fill=ink, width=2)


def context(d, ink):  # " voir le contexte historique"
    d.line([(4, 12), (20, 12)], fill=ink, width=2)
    for x in (6, 12, 18):
        d.line([(x, 8), (x, 16)], fill=ink, width=2)


def media(d, ink):  # " afficher / masquer les médias dans l'article"
    d.rectangle([4, 6, 20, 18], outline=ink, width=2)
    d.polygon([(6, 16), (11, 10), (14, 14), (16, 12), (19, 16)], fill=ink)


def split(outline_rows):
    def draw(d, ink):  # " affichage : 1/3 sommaire , 2/3 article" ... " sommaire plein écran"
        d.rectangle([5, 4, 19, 20], outline=ink)
        bottom = 4 + outline_rows * 16 // 3
        d.rectangle([5, 4, 19, bottom], fill=ink)
    return draw


def outline_depth(detailed):
    def draw(d, ink):  # " sommaire simple" / " sommaire détaillé"
        rows = [(6, 5), (11, 9), (16, 5)] if detailed else [(7, 5), (15, 5)]
        for y, x in rows:
            d.rectangle([x, y, x + 2, y + 2], fill=ink)
            d.line([(x + 5, y + 1), (19, y + 1)], fill=ink, width=2)
    return draw


def zoom(sign):
    def draw(d, ink):  # " réduire / agrandir la taille de l'image"
        d.ellipse([4, 4, 16, 16], outline=ink, width=2)
        d.line([(15, 15), (20, 20)], fill=ink, width=3)
        d.line([(7, 10), (13, 10)], fill=ink, width=2)
        if sign == "+":
            d.line([(10, 7), (10, 13)], fill=ink, width=2)
        if sign == "=":
            d.line([(7, 13), (13, 13)], fill=ink, width=2)
    return draw


def back(d, ink):  # back to the reference document
    d.polygon([(5, 12), (12, 5), (12, 9), (19, 9), (19, 15), (12, 15), (12, 19)], fill=ink)


def stop(d, ink):  # " arrêter"
    d.rectangle([7, 7, 17, 17], fill=ink)


def reload(d, ink):  # " actualiser"
    d.arc([5, 5, 19, 19], start=300, end=210, fill=ink, width=2)
    d.polygon([(3, 9), (9, 9), (6, 14)], fill=ink)


def exclude(d, ink):  # " proposer d'exclure cette adresse"
    d.ellipse([4, 4, 20, 20], outline=ink, width=2)
    d.line([(8, 16), (16, 8)], fill=ink, width=2)


def linked(n):
    def draw(d, ink):
        d.rectangle([5, 4, 17, 19], outline=ink, width=2)
        d.text((8, 6), n, fill=ink, font=bold(10))
    return draw


BUTTONS = {
    1002: history,
    1003: search,
    1051: media,
    1054: triangle(True),
    1055: triangle(False),
    1056: highlight,
    1058: find_in_doc,
    1069: letters("1"),
    1070: letters("2"),
    1071: linked("1"),
    1072: linked("2"),
    1073: letters("0"),
    1074: letters("A-", 9),
    1075: letters("A+", 9),
    1079: letters("C"),
    1083: zoom("-"),
    1084: zoom("+"),
    1085: zoom("="),
    1089: letters("A", 11),
    1110: letters("@", 13),  # " se connecter à SVLINK"
    1111: letters("?", 14),  # " consulter l'aide"
    1112: letters("SOS", 7),  # " contacter l'assistance technique"
    1113: letters("P", 12),  # " définir les préférences générales"
    1104: back,
    1105: letters("?"),
    1106: stop,  # the web pages top bar's three buttons
    1107: reload,
    1108: exclude,
    1330: outline_list,
    1408: context,
    1340: outline_depth(False),
    1341: outline_depth(True),
}
for room in range(1, 10):
    BUTTONS[1120 + room] = letters("S%d" % room, 9)
CHOICES = {1337: split(1), 1338: split(2), 1339: split(3)}

# The pictures of the left end: the left dock's mode by name.
MODES = {
    1101: "Savantorium",
    1130: "Thèmes",
    1131: "Index de A à Z",
    1132: "Recherche avancée",
    1133: "Chronologie",
}


def mode(text):
    image = Image.new("RGB", (192, 28), DOCK)
    d = ImageDraw.Draw(image)
    d.rounded_rectangle([0, 1, 191, 26], radius=5, fill=(110, 168, 172))
    d.text((10, 6), text, fill=(255, 255, 255), font=bold(12))
    return image


def pictures():
    for number, draw in BUTTONS.items():
        yield f"top{number}", LOOK.picture(draw)
    for number, draw in CHOICES.items():
        yield f"top{number}", LOOK.picture(draw, rows=2)
    for number, text in MODES.items():
        yield f"top{number}", mode(text)
    # The field's white ground, the dock's separator pattern and bar, the hit picture.
    yield "top1100", plain((136, 24), DOCK, lambda d: d.rounded_rectangle([0, 0, 135, 23], radius=4,
                                                                         fill=(255, 255, 255), outline=EDGE))
    yield "top1015", plain((6, 34), DOCK, lambda d: d.line([(2, 3), (2, 30)], fill=EDGE, width=2))
    yield "top1053", plain((4, 24), DOCK, lambda d: d.line([(1, 2), (1, 21)], fill=EDGE, width=1))
    yield "top1050", plain((16, 16), DOCK, lambda d: d.ellipse([2, 2, 13, 13], fill=HIT))
    # The picture beside the query history popup's rows.
    yield "top1039", plain((20, 20), (192, 192, 192), lambda d: history(d, INK))
