"""The pictures of the find dialog "Rechercher un mot" (FindBitmaps.rc): the
panel behind the text field (4001) and the three labelled buttons ANNULER
(4002), SUIVANT (4003) and PRÉCÉDENT (4004).

A button is one row of three frames (disabled, normal, pointed), each exactly
the size of its place in the layout "RechDialog".
"""
from PIL import Image, ImageDraw

from kit import Button, Look, font, label

SHEET = (232, 237, 253)
INK = (32, 56, 96)
GREY = (150, 156, 166)
POINTED = (200, 212, 232)
BUTTON = (46, 74, 120)

# number: (width, height, label) of each button's place in the layout.
BUTTONS = {4002: (50, 15, "ANNULER"), 4003: (48, 15, "SUIVANT"), 4004: (59, 15, "PRÉCÉDENT")}
# The panel: the static image's place; the field sits 7 right and 23 down in it.
PANEL = (4001, 219, 43, "Rechercher un mot")


def button(width, height, text):
    look = Button(size=(width, height), ground=SHEET, radius=4,
                  looks=(Look(GREY, SHEET), Look(BUTTON, (255, 255, 255)), Look(INK, POINTED)))
    return look.picture(label(text, font("DejaVuSans-Bold.ttf", 8), width, 3))


def panel(width, height, text):
    im = Image.new("RGB", (width, height), SHEET)
    d = ImageDraw.Draw(im)
    d.rounded_rectangle([0, 0, width - 1, height - 1], radius=6, fill=(246, 248, 254), outline=GREY)
    d.text((7, 4), text, fill=INK, font=font("DejaVuSans-Bold.ttf", 11))
    d.rectangle([6, 22, width - 8, 38], outline=GREY)
    return im


def pictures():
    number, w, h, text = PANEL
    yield f"find{number}", panel(w, h, text)
    for number, (w, h, text) in BUTTONS.items():
        yield f"find{number}", button(w, h, text)
