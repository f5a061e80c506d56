#!/usr/bin/python3
"""Draws the rooms' pictures as 24-bit BMP files: the banners of the room
panes (206 x 31, one per room and tab, 1230-1257), the two pictures of the
panes' header band (1016, 1228), the room result lists' icons missing from
the left dock's set (1529, 1536-1539; strips of three 20 x 20 frames:
disabled, normal, pressed), the choice bands of rooms A, D and GLI (left end,
right end, middle pattern: 1350-1358) and the choice button's arrow (1093). Run: draw_room_bitmaps.py OUT_FOLDER (needs Pillow).
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"
INK = (255, 255, 255)

# picture -> (room title, tab label, colour)
BANNERS = {
    1230: ("Arts", "Visites", (128, 60, 40)), 1231: ("Arts", "Peinture", (128, 60, 40)),
    1232: ("Arts", "Retouche", (128, 60, 40)), 1233: ("Biblioth\u00e8que", "Guide", (60, 90, 50)),
    1234: ("Biblioth\u00e8que", "Classeurs", (60, 90, 50)), 1235: ("Biblioth\u00e8que", "Onglet 3", (60, 90, 50)),
    1250: ("Initiation", "Mini-dossiers", (40, 90, 120)), 1256: ("Initiation", "Manuel", (40, 90, 120)),
    1252: ("Initiation", "Onglet 3", (40, 90, 120)), 1251: ("Initiation", "Onglet 4", (40, 90, 120)),
    1236: ("Histoire-g\u00e9o", "G\u00e9ochronologie", (110, 80, 30)), 1237: ("Histoire-g\u00e9o", "Cartes", (110, 80, 30)),
    1238: ("Histoire-g\u00e9o", "Onglet 3", (110, 80, 30)), 1239: ("M\u00e9diath\u00e8que", "Entretiens", (90, 50, 110)),
    1240: ("M\u00e9diath\u00e8que", "Images", (90, 50, 110)), 1241: ("M\u00e9diath\u00e8que", "Onglet 3", (90, 50, 110)),
    1242: ("M\u00e9diath\u00e8que", "Onglet 4", (90, 50, 110)), 1243: ("M\u00e9diath\u00e8que", "Onglet 5", (90, 50, 110)),
    1244: ("Musique", "G\u00e9n\u00e9alogie", (40, 60, 120)), 1245: ("Musique", "Onglet 4", (40, 60, 120)),
    1246: ("Sciences", "Mars", (30, 100, 100)), 1247: ("Sciences", "Commandes", (30, 100, 100)),
    1248: ("Sport", "Jeux", (30, 110, 60)), 1249: ("Sport", "En ligne", (30, 110, 60)),
    1253: ("Auteurs", "Portraits", (100, 40, 70)), 1254: ("Auteurs", "Textes", (100, 40, 70)),
    1257: ("Sciences", "Mars", (150, 50, 30)),
}
ICONS = {1529: (128, 60, 40), 1536: (90, 50, 110), 1537: (90, 50, 110), 1538: (90, 50, 110), 1539: (110, 80, 30)}


def banner(number, title, tab, colour):
    image = Image.new("RGB", (206, 31), colour)
    draw = ImageDraw.Draw(image)
    draw.text((6, 2), title, fill=INK, font=ImageFont.truetype(FONT, 12))
    draw.text((6, 16), tab, fill=(235, 225, 200), font=ImageFont.truetype(FONT, 11))
    return image


def icon(colour):
    image = Image.new("RGB", (60, 20), (238, 241, 247))
    draw = ImageDraw.Draw(image)
    for frame, ink in enumerate(((160, 164, 172), colour, colour)):
        x = frame * 20
        if frame == 2:
            draw.rectangle([x, 0, x + 19, 19], fill=(204, 216, 236))
        draw.rectangle([x + 4, 4, x + 15, 15], outline=ink, width=2)
        draw.line([(x + 7, 8), (x + 12, 8)], fill=ink)
        draw.line([(x + 7, 11), (x + 12, 11)], fill=ink)
    return image


# band -> colour; each band has a left end, a right end and a middle.
BANDS = {1350: (196, 170, 150), 1353: (180, 196, 170), 1356: (170, 180, 204)}


def band_piece(kind, colour, height=150):
    width = {0: 8, 1: 25, 2: 8}[kind]
    image = Image.new("RGB", (width, height), colour)
    draw = ImageDraw.Draw(image)
    edge = tuple(max(0, c - 60) for c in colour)
    if kind == 0:
        draw.line([(0, 0), (0, height - 1)], fill=edge)
    if kind == 1:
        draw.line([(width - 1, 0), (width - 1, height - 1)], fill=edge)
    # Guides every 24 px behind the level rows.
    for y in range(27, height, 24):
        draw.line([(0, y), (width - 1, y)], fill=tuple(min(255, c + 30) for c in colour))
    return image


def arrow():
    image = Image.new("RGB", (60, 20), (238, 241, 247))
    draw = ImageDraw.Draw(image)
    for frame, ink in enumerate(((160, 164, 172), (56, 86, 134), (30, 50, 90))):
        x = frame * 20
        if frame == 2:
            draw.rectangle([x, 0, x + 19, 19], fill=(204, 216, 236))
        draw.rectangle([x + 1, 1, x + 18, 18], outline=ink)
        draw.polygon([(x + 5, 7), (x + 14, 7), (x + 9, 13)], fill=ink)
    return image


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for number, (title, tab, colour) in BANNERS.items():
        banner(number, title, tab, colour).save(os.path.join(out, f"room{number}.bmp"))
    Image.new("RGB", (206, 31), (221, 228, 240)).save(os.path.join(out, "room1016.bmp"))
    Image.new("RGB", (206, 31), (56, 86, 134)).save(os.path.join(out, "room1228.bmp"))
    for number, colour in ICONS.items():
        icon(colour).save(os.path.join(out, f"room{number}.bmp"))
    for first, colour in BANDS.items():
        # left end, right end, middle
        for offset, kind in ((0, 0), (1, 1), (2, 2)):
            band_piece(kind, colour).save(os.path.join(out, f"room{first + offset}.bmp"))
    arrow().save(os.path.join(out, "room1093.bmp"))


if __name__ == "__main__":
    main()
