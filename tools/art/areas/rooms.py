"""The rooms' pictures (RoomBitmaps.rc): the banners of the room panes
(206 x 31, one per room and tab, 1230-1257), the two pictures of the panes'
header band (1016, 1228), the room result lists' icons missing from the left
dock's set (1529, 1536-1539; 20 x 20 frames: disabled, normal, pressed), the
choice bands of rooms A, D and GLI (left end, right end, middle pattern:
1350-1358) and the choice button's arrow (1093).
"""
from PIL import Image, ImageDraw

from kit import Button, Look, font

INK = (255, 255, 255)
BACK = (238, 241, 247)
GREY = (160, 164, 172)
PRESSED = (204, 216, 236)

# picture -> (room title, tab label, colour)
BANNERS = {
    1230: ("Arts", "Visites", (128, 60, 40)), 1231: ("Arts", "Peinture", (128, 60, 40)),
    1232: ("Arts", "Retouche", (128, 60, 40)), 1233: ("Bibliothèque", "Guide", (60, 90, 50)),
    1234: ("Bibliothèque", "Classeurs", (60, 90, 50)), 1235: ("Bibliothèque", "Onglet 3", (60, 90, 50)),
    1250: ("Initiation", "Mini-dossiers", (40, 90, 120)), 1256: ("Initiation", "Manuel", (40, 90, 120)),
    1252: ("Initiation", "Onglet 3", (40, 90, 120)), 1251: ("Initiation", "Onglet 4", (40, 90, 120)),
    1236: ("Histoire-géo", "Géochronologie", (110, 80, 30)), 1237: ("Histoire-géo", "Cartes", (110, 80, 30)),
    1238: ("Histoire-géo", "Onglet 3", (110, 80, 30)), 1239: ("Médiathèque", "Entretiens", (90, 50, 110)),
    1240: ("Médiathèque", "Images", (90, 50, 110)), 1241: ("Médiathèque", "Onglet 3", (90, 50, 110)),
    1242: ("Médiathèque", "Onglet 4", (90, 50, 110)), 1243: ("Médiathèque", "Onglet 5", (90, 50, 110)),
    1244: ("Musique", "Généalogie", (40, 60, 120)), 1245: ("Musique", "Onglet 4", (40, 60, 120)),
    1246: ("Sciences", "Mars", (30, 100, 100)), 1247: ("Sciences", "Commandes", (30, 100, 100)),
    1248: ("Sport", "Jeux", (30, 110, 60)), 1249: ("Sport", "En ligne", (30, 110, 60)),
    1253: ("Auteurs", "Portraits", (100, 40, 70)), 1254: ("Auteurs", "Textes", (100, 40, 70)),
    1257: ("Sciences", "Mars", (150, 50, 30)),
}
ICONS = {1529: (128, 60, 40), 1536: (90, 50, 110), 1537: (90, 50, 110), 1538: (90, 50, 110), 1539: (110, 80, 30)}
# band -> colour; each band has a left end, a right end and a middle.
BANDS = {1350: (196, 170, 150), 1353: (180, 196, 170), 1356: (170, 180, 204)}


def banner(title, tab, colour):
    image = Image.new("RGB", (206, 31), colour)
    draw = ImageDraw.Draw(image)
    draw.text((6, 2), title, fill=INK, font=font("LiberationSans-Bold.ttf", 12))
    draw.text((6, 16), tab, fill=(235, 225, 200), font=font("LiberationSans-Bold.ttf", 11))
    return image


def faceless(normal, pressed):
    """Faceless frames on the dock's ground; the pressed one shaded."""
    return Button(size=(20, 20), ground=BACK, looks=(Look(BACK, GREY), Look(BACK, normal), Look(PRESSED, pressed)))


def page(d, ink):
    d.rectangle([4, 4, 15, 15], outline=ink, width=2)
    d.line([(7, 8), (12, 8)], fill=ink)
    d.line([(7, 11), (12, 11)], fill=ink)


def arrow(d, ink):
    d.rectangle([1, 1, 18, 18], outline=ink)
    d.polygon([(5, 7), (14, 7), (9, 13)], fill=ink)


def band_piece(kind, colour, height=150):
    """kind 0 the left end, 1 the right end, 2 the middle."""
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


def pictures():
    for number, (title, tab, colour) in BANNERS.items():
        yield f"room{number}", banner(title, tab, colour)
    yield "room1016", Image.new("RGB", (206, 31), (221, 228, 240))
    yield "room1228", Image.new("RGB", (206, 31), (56, 86, 134))
    for number, colour in ICONS.items():
        yield f"room{number}", faceless(colour, colour).picture(page)
    for first, colour in BANDS.items():
        for kind in range(3):
            yield f"room{first + kind}", band_piece(kind, colour)
    yield "room1093", faceless((56, 86, 134), (30, 50, 90)).picture(arrow)
