#!/usr/bin/python3
"""Draws the chronology screen's pictures as 24-bit BMP files.

Period buttons 1450-1458: two frames side by side (normal, pressed) and a
second row for the period shown; each frame is half the picture's width and
48 pixels high. Buttons 1459-1462, 1465, 1466: three 20 x 20 frames
(disabled, normal, pressed); switches 1463, 1464 and the event list's icon
1512 add a second row for their marked state. The time line's pictures
(style sheet 10): 1467-1470 the four categories' discs, 1471 the marker.
Run: draw_chrono_bitmaps.py OUT_FOLDER (needs Pillow).
"""
import sys

from PIL import Image, ImageDraw, ImageFont

PERIODS = [("Antiquit\u00e9", "-3000 \u2013 0"), ("D\u00e9but de notre \u00e8re", "0 \u2013 500"),
           ("Haut Moyen \u00c2ge", "500 \u2013 1000"), ("Moyen \u00c2ge", "1000 \u2013 1500"),
           ("Renaissance", "1500 \u2013 1650"), ("Grand Si\u00e8cle", "1650 \u2013 1715"),
           ("Lumi\u00e8res", "1715 \u2013 1789"), ("R\u00e9volution", "1789 \u2013 1815"),
           ("XIXe si\u00e8cle", "1815 \u2013 1914")]
WIDTHS = [554, 526, 538, 580, 538, 504, 514, 456, 424]
W, H = 20, 20
BACK = (235, 228, 205)
FACE = (246, 241, 226)
INK = (90, 60, 30)
GREY = (170, 160, 140)
PRESSED = (220, 205, 170)
MARKED = (150, 90, 40)
TINTS = [(200, 40, 40), (40, 90, 200), (40, 150, 60), (150, 60, 160)]


def font(size, bold=False):
    name = "LiberationSans-Bold.ttf" if bold else "LiberationSans-Regular.ttf"
    for folder in ("/usr/share/fonts/truetype/liberation/", "/usr/share/fonts/truetype/liberation2/"):
        try:
            return ImageFont.truetype(folder + name, size)
        except OSError:
            pass
    return ImageFont.load_default()


def period(number, width, title, years):
    fw, fh = width // 2, 48
    image = Image.new("RGB", (width, 2 * fh), BACK)
    for row in range(2):
        for col in range(2):
            frame = Image.new("RGB", (fw, fh), BACK)
            d = ImageDraw.Draw(frame)
            shown = row == 1
            fill = MARKED if shown else (PRESSED if col else FACE)
            ink = FACE if shown else INK
            d.rounded_rectangle([2, 2, fw - 3, fh - 3], radius=6, fill=fill, outline=INK, width=1)
            d.text((12, 6), title, font=font(17, True), fill=ink)
            d.text((12, 27), years, font=font(13), fill=ink)
            d.line([(fw - 40, fh // 2), (fw - 14, fh // 2)], fill=ink, width=2)
            image.paste(frame, (col * fw, row * fh))
    return image


def arrow(d, ink, right):
    pts = [(7, 5), (13, 10), (7, 15)] if right else [(13, 5), (7, 10), (13, 15)]
    d.polygon(pts, fill=ink)


def magnifier(d, ink):
    d.ellipse([4, 4, 12, 12], outline=ink, width=2)
    d.line([(11, 11), (16, 16)], fill=ink, width=3)


def back(d, ink):
    d.line([(5, 10), (15, 10)], fill=ink, width=2)
    d.polygon([(4, 10), (9, 5), (9, 15)], fill=ink)


def tree(d, ink):
    d.rectangle([4, 4, 8, 7], fill=ink)
    d.line([(6, 7), (6, 14), (11, 14)], fill=ink)
    d.line([(6, 10), (11, 10)], fill=ink)
    d.rectangle([11, 9, 15, 11], fill=ink)
    d.rectangle([11, 13, 15, 15], fill=ink)


def key(d, ink):
    d.ellipse([3, 6, 9, 12], outline=ink, width=2)
    d.line([(9, 9), (17, 9)], fill=ink, width=2)
    d.line([(14, 9), (14, 13)], fill=ink, width=2)


def page(d, ink):
    d.rectangle([5, 3, 15, 17], outline=ink, width=2)
    for y in (7, 10, 13):
        d.line([(8, y), (12, y)], fill=ink)


def timeline(d, ink):
    d.line([(3, 13), (17, 13)], fill=ink, width=2)
    for x in (5, 10, 15):
        d.line([(x, 9), (x, 13)], fill=ink, width=2)


def events(d, ink):
    for y in (5, 10, 15):
        d.ellipse([3, y - 2, 7, y + 2], fill=ink)
        d.line([(9, y), (17, y)], fill=ink)


BUTTONS = {1459: lambda d, c: arrow(d, c, False), 1460: lambda d, c: arrow(d, c, True), 1461: magnifier,
           1462: back, 1465: page, 1466: timeline}
SWITCHES = {1463: tree, 1464: key, 1512: events}


def strip(draw, rows):
    image = Image.new("RGB", (3 * W, rows * H), BACK)
    for row in range(rows):
        for i, (face, ink) in enumerate([(FACE, GREY), (FACE, INK), (PRESSED, INK)]):
            frame = Image.new("RGB", (W, H), BACK)
            d = ImageDraw.Draw(frame)
            marked = row == 1 and i
            d.rounded_rectangle([0, 0, W - 1, H - 1], radius=3, fill=MARKED if marked else face,
                                outline=(170, 150, 120))
            draw(d, FACE if marked else ink)
            image.paste(frame, (i * W, row * H))
    return image


def main(out):
    for i, (title, years) in enumerate(PERIODS):
        period(1450 + i, WIDTHS[i], title, years).save(f"{out}/chrono{1450 + i}.bmp")
    for number, draw in BUTTONS.items():
        strip(draw, 1).save(f"{out}/chrono{number}.bmp")
    for number, draw in SWITCHES.items():
        strip(draw, 2).save(f"{out}/chrono{number}.bmp")
    for c, tint in enumerate(TINTS):
        image = Image.new("RGB", (16, 16), BACK)
        ImageDraw.Draw(image).ellipse([1, 1, 14, 14], fill=tint, outline=INK)
        image.save(f"{out}/chrono{1467 + c}.bmp")
    marker = Image.new("RGB", (14, 12), (150, 120, 80))
    ImageDraw.Draw(marker).polygon([(7, 0), (0, 11), (13, 11)], fill=(220, 30, 30))
    marker.save(f"{out}/chrono1471.bmp")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/bitmaps")
