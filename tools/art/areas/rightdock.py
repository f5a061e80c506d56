"""The right dock's pictures (RightDockBitmaps.rc).

Buttons are strips of frames side by side (disabled, normal, pressed), each
framed in its ink; the toggles have a second row for their ticked state.
Captions use a small 5 x 7 capital font.
"""
from kit import Button, Look, plain

# A letter's 7 rows of 5 pixels, top to bottom.
FONT = {
    'A': "01110100011000111111100011000110001", 'B': "11110100011000111110100011000111110",
    'C': "01110100011000010000100001000101110", 'D': "11110100011000110001100011000111110",
    'E': "11111100001000011110100001000011111", 'F': "11111100001000011110100001000010000",
    'G': "01110100011000010111100011000101111", 'H': "10001100011000111111100011000110001",
    'I': "01110001000010000100001000010001110", 'J': "00111000100001000010000101001001100",
    'K': "10001100101010011000101001001010001", 'L': "10000100001000010000100001000011111",
    'M': "10001110111010110101100011000110001", 'N': "10001110011010110011100011000110001",
    'O': "01110100011000110001100011000101110", 'P': "11110100011000111110100001000010000",
    'Q': "01110100011000110001101011001001101", 'R': "11110100011000111110101001001010001",
    'S': "01111100001000001110000010000111110", 'T': "11111001000010000100001000010000100",
    'U': "10001100011000110001100011000101110", 'V': "10001100011000110001100010101000100",
    'W': "10001100011000110101101011010101010", 'X': "10001100010101000100010101000110001",
    'Y': "10001100010101000100001000010000100", 'Z': "11111000010001000100010001000011111",
    ' ': "0" * 35,
}

BACK = (214, 222, 232)
HEAD = (70, 96, 140)
FACE = (236, 240, 246)
INK = (40, 66, 110)
GREY = (160, 164, 172)
PRESSED = (204, 216, 236)
GOLD = (196, 150, 40)


def look(width, height):
    return Button(size=(width, height), ground=BACK,
                  looks=(Look(FACE, GREY, GREY), Look(FACE, INK, INK), Look(PRESSED, INK, INK)))


def text(d, x, y, s, ink, vertical=False):
    """Writes s in the pixel font, left to right, or top to bottom with the
    letters turned a quarter clockwise."""
    for ch in s:
        glyph = FONT.get(ch, FONT[' '])
        d.point([(x + 6 - gy, y + gx) if vertical else (x + gx, y + gy)
                 for gy in range(7) for gx in range(5) if glyph[gy * 5 + gx] == '1'], fill=ink)
        if vertical:
            y += 7
        else:
            x += 6


def caption(s, width, height, expanded):
    """The caption and its arrow: down when expanded, right when collapsed."""
    def draw(d, ink):
        text(d, 8, (height - 7) // 2, s, ink)
        x, y = width - 14, height // 2
        for k in range(4):
            if expanded:
                d.rectangle([x + k, y - 2 + k, x + 7 - k, y - 2 + k], fill=ink)
            else:
                d.rectangle([x + k, y - 4 + k, x + k, y + 4 - k], fill=ink)
    return draw


def caption_strip(s, width, height, rows):
    return look(width, height).picture([caption(s, width, height, expanded) for expanded in (False, True)[:rows]])


def lock(locked):
    def draw(d, ink):
        d.rectangle([6, 10, 15, 18], fill=GOLD if locked and ink != GREY else ink)
        if locked:
            d.rectangle([8, 4, 13, 10], outline=ink)
        else:  # open: the shackle's left side stops short of the top
            d.line([(10, 4), (13, 4), (13, 10), (8, 10), (8, 8)], fill=ink)
    return draw


def vertical(d, ink):
    text(d, 7, 12, "EXTENSIONS" if ink != GREY else "AUCUNE EXTENSION", ink, vertical=True)


def back(d, ink):
    d.rectangle([4, 10, 13, 11], fill=ink)
    for k in range(5):
        d.rectangle([4 + k, 10 - k, 4 + k, 11 + k], fill=ink)


# 1508 and 1509 are the left dock's online and disc icons, drawn there.
TOGGLES = {1504: "LIENS WEB", 1505: "THEMES ASSOCIES", 1506: "ENSEMBLES", 1507: "DOCUMENTS LIES",
           1501: "SALLE DES IMAGES", 1502: "SALLE DES SONS", 1503: "SALLE DES CARTES", 1527: "SALLE DES VIDEOS",
           1528: "SALLE DES MEDIAS", 1511: "LEGENDE"}


def drawn():
    yield "rd1030", plain((16, 16), BACK, lambda d: d.point([(i, i) for i in range(0, 16, 4)], fill=(200, 210, 224)))
    yield "rd1500", plain((16, 23), HEAD, lambda d: d.line([(0, 22), (15, 22)], fill=INK))
    yield "rd1031", caption_strip("EXTENSIONS", 168, 21, rows=1)
    yield "rd1032", look(22, 23).picture([lock(False), lock(True)])
    yield "rd1033", look(21, 248).picture(vertical)
    yield "rd1034", look(196, 21).picture(back)
    for number, s in TOGGLES.items():
        yield f"rd{number}", caption_strip(s, 200, 23, rows=2)


def pictures():
    # These files have said 72 dpi since they were first written; the reader
    # reads no resolution, and the same header keeps them byte for byte.
    for name, image in drawn():
        image.info["dpi"] = (72, 72)
        yield name, image
