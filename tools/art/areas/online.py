"""The online pictures: the account wizard's banner (net1541, 431 x 64: a blue
gradient with a globe and two link rings) and the preferences' popup button
arrow (pref6090, 16 x 16) of NetBitmaps.rc; the target that the target view
puts over a page (target1024 of OnlineBitmaps.rc: a red ring with a cross on
white, 31 x 31 so that it centres on a pixel).
"""
from PIL import Image, ImageDraw

TARGET = 31
RED = (204, 0, 0)


def banner():
    width, height = 431, 64
    image = Image.new("RGB", (width, height))
    d = ImageDraw.Draw(image)
    for x in range(width):
        t = x / (width - 1)
        d.line((x, 0, x, height), fill=(int(20 + 40 * t), int(60 + 90 * t), int(140 + 90 * t)))
    # A globe: a disc with meridians and parallels.
    cx, cy, r = 40, 32, 24
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=(235, 242, 250), outline=(255, 255, 255), width=2)
    for k in (-12, 0, 12):
        d.arc((cx - r + abs(k), cy - r, cx + r - abs(k), cy + r), 0, 360, fill=(60, 110, 170))
    for k in (-12, 0, 12):
        d.line((cx - r + 4, cy + k, cx + r - 4, cy + k), fill=(60, 110, 170))
    # Two linked rings.
    for i, colour in enumerate(((255, 200, 60), (255, 255, 255))):
        x = 330 + i * 26
        d.ellipse((x, 18, x + 34, 46), outline=colour, width=4)
    # A band under the title place.
    d.rectangle((80, 50, 300, 52), fill=(255, 200, 60))
    return image


def arrow():
    image = Image.new("RGB", (16, 16), (236, 240, 246))
    d = ImageDraw.Draw(image)
    d.rectangle((0, 0, 15, 15), outline=(120, 130, 150))
    d.polygon(((4, 6), (12, 6), (8, 11)), fill=(30, 50, 90))
    return image


def target():
    image = Image.new("RGB", (TARGET, TARGET), (255, 255, 255))
    d = ImageDraw.Draw(image)
    d.ellipse((2, 2, TARGET - 3, TARGET - 3), outline=RED, width=3)
    mid = TARGET // 2
    d.line((mid, 0, mid, TARGET - 1), fill=RED, width=1)
    d.line((0, mid, TARGET - 1, mid), fill=RED, width=1)
    return image


def pictures():
    yield "net1541", banner()
    yield "pref6090", arrow()
    yield "target1024", target()
