"""The button pictures of the dossier and note windows, 28 x 24 frames, and
the icons of the kinds of documents that the lists' rows show, one 16 x 16
frame on white (WorkspaceBitmaps.rc).
"""
from kit import Button, frames, plain

BACK = (214, 222, 232)
FACE = (246, 248, 251)
INK = (40, 66, 110)
GREY = (160, 164, 172)
PRESSED = (204, 216, 236)
RED = (176, 48, 40)
PAPER = (250, 250, 236)  # a text's page: a colour of its own, which the tests look for

LOOK = Button(size=(28, 24), ground=BACK, radius=4, inset=1, looks=frames(FACE, INK, GREY, PRESSED, (150, 166, 190)))


def folder(d, ink):
    d.polygon([(5, 7), (11, 7), (13, 9), (22, 9), (22, 18), (5, 18)], outline=ink, width=2)


def plus(d, ink):
    folder(d, ink)
    d.line([(18, 3), (18, 11)], fill=ink, width=2)
    d.line([(14, 7), (22, 7)], fill=ink, width=2)


def copy(d, ink):
    d.rectangle([5, 5, 15, 15], outline=ink, width=2)
    d.rectangle([11, 9, 21, 19], outline=ink, width=2, fill=FACE)


def cross(red):
    def draw(d, ink):
        d.line([(8, 6), (20, 18)], fill=red if ink != GREY else GREY, width=3)
        d.line([(20, 6), (8, 18)], fill=red if ink != GREY else GREY, width=3)
    return draw


def trash(d, ink):
    d.rectangle([8, 8, 19, 19], outline=ink, width=2)
    d.line([(6, 6), (21, 6)], fill=ink, width=2)
    d.line([(12, 10), (12, 17)], fill=ink)
    d.line([(15, 10), (15, 17)], fill=ink)


def pen(d, ink):
    d.line([(7, 18), (19, 6)], fill=ink, width=3)
    d.polygon([(5, 20), (7, 15), (10, 18)], fill=ink)


def disk(d, ink):
    d.rectangle([6, 5, 21, 19], outline=ink, width=2)
    d.rectangle([9, 5, 18, 10], fill=ink)
    d.rectangle([9, 14, 18, 19], outline=ink)


def goto(d, ink):
    d.polygon([(6, 9), (14, 9), (14, 5), (22, 12), (14, 19), (14, 15), (6, 15)], fill=ink)


def left(d, ink):
    d.polygon([(17, 5), (9, 12), (17, 19)], fill=ink)


def right(d, ink):
    d.polygon([(10, 5), (18, 12), (10, 19)], fill=ink)


BUTTONS = {6501: plus, 6502: copy, 6503: cross(RED), 6504: trash, 6508: pen, 6646: cross(INK), 6660: disk,
           6621: left, 6631: right, 6643: trash, 6647: goto}


def text_page(d):
    d.polygon([(3, 1), (10, 1), (13, 4), (13, 14), (3, 14)], fill=PAPER, outline=INK)
    d.line([(10, 1), (10, 4), (13, 4)], fill=INK)
    for y in (6, 8, 10, 12):
        d.line([(5, y), (11, y)], fill=GREY)


def picture(d):
    d.rectangle([1, 2, 14, 13], fill=(200, 224, 248), outline=INK)
    d.polygon([(2, 12), (6, 6), (9, 10), (11, 8), (13, 12)], fill=(70, 130, 70))
    d.ellipse([9, 3, 12, 6], fill=(236, 180, 40))


def video(d):
    d.rectangle([1, 2, 14, 13], fill=(56, 56, 64), outline=INK)
    for x in (3, 6, 9, 12):
        d.point([(x, 3), (x, 12)], fill=FACE)
    d.rectangle([3, 5, 12, 10], fill=(200, 224, 248))


def animation(d):
    d.ellipse([1, 1, 14, 14], fill=(232, 236, 244), outline=INK)
    d.polygon([(6, 4), (12, 8), (6, 12)], fill=RED)


def page(d):
    d.rectangle([1, 2, 14, 13], fill=FACE, outline=INK)
    d.rectangle([1, 2, 14, 4], fill=INK)
    d.line([(3, 7), (12, 7)], fill=GREY)
    d.line([(3, 10), (9, 10)], fill=GREY)


def online(d):
    d.ellipse([1, 1, 14, 14], fill=(200, 224, 248), outline=INK)
    d.line([(1, 8), (14, 8)], fill=INK)
    d.line([(8, 1), (8, 14)], fill=INK)
    d.arc([4, 1, 11, 14], 0, 360, fill=INK)


# The icons of the kinds of documents, by resource number; the lists' style
# sheet names them by icon type + 4.
KINDS = {6701: text_page, 6702: picture, 6703: video, 6704: animation, 6705: page, 6706: online}


def pictures():
    for number, draw in BUTTONS.items():
        yield f"ws{number}", LOOK.picture(draw)
    for number, draw in KINDS.items():
        yield f"ws{number}", plain((16, 16), (255, 255, 255), draw)
