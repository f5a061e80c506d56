#!/usr/bin/python3
"""Draws the right dock's pictures as 24-bit BMP files (no library needed).

Buttons are strips of frames side by side (disabled, normal, pressed); the
toggles have a second row for their ticked state. Captions use a small 5x7
capital font. Run: draw_rightdock_bitmaps.py OUT_FOLDER
"""
import struct
import sys

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
WHITE = (255, 255, 255)
GOLD = (196, 150, 40)


class Canvas:
    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def rect(self, x0, y0, x1, y1, colour, fill=True):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                if fill or y in (y0, y1 - 1) or x in (x0, x1 - 1):
                    self.px[y][x] = colour

    def text(self, x, y, s, colour, vertical=False):
        for ch in s:
            glyph = FONT.get(ch, FONT[' '])
            for gy in range(7):
                for gx in range(5):
                    if glyph[gy * 5 + gx] == '1':
                        if vertical:
                            px, py = x + (6 - gy), y + gx
                        else:
                            px, py = x + gx, y + gy
                        if 0 <= px < self.w and 0 <= py < self.h:
                            self.px[py][px] = colour
            if vertical:
                y += 7
            else:
                x += 6

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                self.px[oy + y][ox + x] = other.px[y][x]

    def save(self, path):
        row = (self.w * 3 + 3) & ~3
        data = b""
        for y in range(self.h - 1, -1, -1):
            line = b"".join(bytes((b, g, r)) for (r, g, b) in self.px[y])
            data += line + b"\0" * (row - self.w * 3)
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        with open(path, "wb") as f:
            f.write(header + info + data)


def strip(w, h, draw, rows=1):
    """Frames disabled, normal, pressed (a second row: the same, ticked)."""
    out = Canvas(3 * w, h * rows, BACK)
    for r in range(rows):
        for i, (face, ink) in enumerate(((FACE, GREY), (FACE, INK), (PRESSED, INK))):
            c = Canvas(w, h, face)
            c.rect(0, 0, w, h, ink, fill=False)
            draw(c, ink, r == 1)
            out.blit(c, i * w, r * h)
    return out


def caption(text):
    def draw(c, ink, ticked):
        c.text(8, (c.h - 7) // 2, text, ink)
        # The arrow: down when expanded (ticked), right when collapsed.
        x, y = c.w - 14, c.h // 2
        for k in range(4):
            if ticked:
                c.rect(x + k, y - 2 + k, x + 8 - k, y - 1 + k, ink)
            else:
                c.rect(x + k, y - 4 + k, x + k + 1, y + 5 - k, ink)
    return draw


def lock(c, ink, ticked):
    c.rect(6, 10, 16, 19, GOLD if ticked and ink != GREY else ink)
    c.rect(8, 4, 14, 11, ink, fill=False)
    if not ticked:
        c.rect(8, 4, 10, 8, c.px[1][1])


def main(out):
    pattern = Canvas(16, 16, BACK)
    for i in range(0, 16, 4):
        pattern.px[i][i] = (200, 210, 224)
    pattern.save(out + "/rd1030.bmp")
    header = Canvas(16, 23, HEAD)
    header.rect(0, 22, 16, 23, INK)
    header.save(out + "/rd1500.bmp")
    strip(168, 21, caption("EXTENSIONS")).save(out + "/rd1031.bmp")
    strip(22, 23, lock, rows=2).save(out + "/rd1032.bmp")

    def vertical(c, ink, ticked):
        c.text(7, 12, "EXTENSIONS" if ink != GREY else "AUCUNE EXTENSION", ink, vertical=True)
    strip(21, 248, vertical).save(out + "/rd1033.bmp")

    def back(c, ink, ticked):
        c.rect(4, 10, 14, 12, ink)
        for k in range(5):
            c.rect(4 + k, 10 - k, 5 + k, 12 + k, ink)
    strip(196, 21, back).save(out + "/rd1034.bmp")
    # 1508 and 1509 are the left dock's online and disc icons, drawn there.
    for number, text in ((1504, "LIENS WEB"), (1505, "THEMES ASSOCIES"), (1506, "ENSEMBLES"),
                         (1507, "DOCUMENTS LIES"), (1501, "SALLE DES IMAGES"),
                         (1502, "SALLE DES SONS"), (1503, "SALLE DES CARTES"), (1527, "SALLE DES VIDEOS"),
                         (1528, "SALLE DES MEDIAS"), (1511, "LEGENDE")):
        strip(200, 23, caption(text), rows=2).save(out + "/rd%d.bmp" % number)


if __name__ == "__main__":
    main(sys.argv[1])
