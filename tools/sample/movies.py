#!/usr/bin/python3
"""Writes the sample's stand-in movies and their page templates.

usage: movies.py OUT

The reader plays no Flash: its stand-in (platform/flashmovie) reads our own
movie text (format drawn in platform/flashmovie/FlashMovie.h) and draws its
PNG frames. Written here:
  OUT/data/accueil.swf + accueil0.png        the home movie, 1024 x 768
  OUT/data/salle_<room>.swf + salle_<room>0.png  one movie per room, 800 x 500
  OUT/modeles/*.html                         the page templates the
                                             configuration keys name
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"
BOLD = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"

# (label, action) of the home movie's buttons, in two columns.
HOME_SEARCH = [("Recherche simple", "rech_simple"), ("Recherche avancée", "rech_expert"),
               ("Index de A à Z", "rech_alpha"), ("Thèmes", "rech_theme"), ("Chronologie", "rech_chrono"),
               ("Dictionnaire", "rech_dico")]
HOME_ROOMS = [("Salle des arts", "go_art"), ("Bibliothèque", "go_biblio"), ("Initiation", "go_ini"),
              ("Histoire et géographie", "go_geohist"), ("Médiathèque", "go_mediatheque"),
              ("Musique", "go_musique"), ("Sciences", "go_sciences"), ("Sport", "go_sport"),
              ("Auteurs", "go_auteurs")]

# room key file -> (title, [(tab label, room page)])
ROOMS = {
    "art": ("Salle des arts", [("Visites", "art_visites"), ("Peinture", "art_peinture")]),
    "biblio": ("Bibliothèque", [("Guide", "bib_guide")]),
    "ini": ("Initiation", [("Mini-dossiers", "ini_mini")]),
    "histgeo": ("Histoire et géographie", [("Géochronologie", "hg_geochrono"), ("Atlas", "hg_atlas")]),
    "mediatheque": ("Médiathèque", [("Entretiens", "med_entretiens"), ("Images", "med_images")]),
    "musique": ("Salle de musique", [("Histoire", "mus_histoire"), ("Généalogie", "mus_genealogie")]),
    "science": ("Salle des sciences", [("Mars", "sci_mars")]),
    "sport": ("Sport", [("Jeux", "sport_jeux")]),
    "auteurs": ("Auteurs", [("Portraits", "aut_portraits")]),
}

TEMPLATE = """<html><head><title></title></head>
<body bgcolor="<BGCOLOR_REPLACE>">
<embed src="<FILENAME_TO_REPLACE>" type="application/x-shockwave-flash" width="<SWF_WIDTH_TOREPLACE>"
 height="<SWF_HEIGHT_TOREPLACE>" align="<ALIGN_TOREPLACE>" frame="<FRAME_TO_REPLACE>" stop="<STOP_TOREPLACE>">
<p><LEGEND_TO_REPLACE></p>
</body></html>
"""
# The printed page of a media: its title above the movie, legend and copyright under it.
PRINT_TEMPLATE = """<html><head><title></title></head>
<body bgcolor="<BGCOLOR_REPLACE>">
<h2><DOCTITLE_TO_REPLACE></h2>
<embed src="<FILENAME_TO_REPLACE>" type="application/x-shockwave-flash" align="<ALIGN_TOREPLACE>"
 frame="<FRAME_TO_REPLACE>" stop="<STOP_TOREPLACE>">
<p><LEGEND_TO_REPLACE></p>
</body></html>
"""
# The Director movie's page and its launcher: the video, the Director file and the launcher's address.
DCR_TEMPLATE = """<html><head><title></title></head>
<body bgcolor="#000000">
<embed src="<DCR_FILENAME_TO_REPLACE>" type="application/x-director" video="<VIDEO_FILENAME_TO_REPLACE>"
 launcher="<LAUNCHER_FILENAME_TO_REPLACE>">
</body></html>
"""
LAUNCHER_TEMPLATE = """<html><head><title></title></head>
<body><a href="<DCR_FILENAME_TO_REPLACE>"><VIDEO_FILENAME_TO_REPLACE></a></body></html>
"""
TEMPLATES = {"dcrmedia.html": DCR_TEMPLATE, "dcrlauncher.html": LAUNCHER_TEMPLATE, "vide.html": "<html><head><title></title></head><body></body></html>\n",
             "flash100.html": TEMPLATE, "flashsalle.html": TEMPLATE, "flashmedia.html": TEMPLATE,
             "flashaccueil.html": TEMPLATE, "flashMediaPrint.html": PRINT_TEMPLATE}


def write_if_changed(path, data):
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def button(draw, box, label, font):
    draw.rounded_rectangle(box, 12, fill=(153, 204, 204), outline=(40, 90, 110), width=3)
    w = draw.textlength(label, font=font)
    draw.text(((box[0] + box[2] - w) / 2, (box[1] + box[3]) / 2 - font.size * 0.6), label, fill=(20, 40, 60),
              font=font)


def save_png(image, path):
    tmp = path + ".tmp.png"
    image.save(tmp, "PNG")
    os.replace(tmp, path)


def home(data):
    image = Image.new("RGB", (1024, 768), (235, 245, 245))
    draw = ImageDraw.Draw(image)
    title, big, small = ImageFont.truetype(BOLD, 64), ImageFont.truetype(BOLD, 28), ImageFont.truetype(FONT, 24)
    draw.text((60, 40), "Savantorium", fill=(30, 70, 100), font=title)
    draw.text((64, 120), "Encyclopédie d'exemple", fill=(60, 100, 120), font=small)
    draw.text((60, 180), "Chercher", fill=(30, 70, 100), font=big)
    draw.text((540, 180), "Les salles", fill=(30, 70, 100), font=big)
    hot = []
    for i, (label, action) in enumerate(HOME_SEARCH):
        box = (60, 230 + i * 80, 460, 290 + i * 80)
        button(draw, box, label, small)
        hot.append((box, action))
    for i, (label, action) in enumerate(HOME_ROOMS):
        box = (540, 230 + i * 56, 960, 276 + i * 56)
        button(draw, box, label, small)
        hot.append((box, action))
    save_png(image, os.path.join(data, "accueil0.png"))
    lines = ["SVMOVIE 1", "SIZE 1024 768", "FRAME accueil0.png"]
    for (x0, y0, x1, y1), action in hot:
        lines.append(f"HOT {x0} {y0} {x1 - x0} {y1 - y0} sv10:accueil?appl={action}")
    write_if_changed(os.path.join(data, "accueil.swf"), ("\r\n".join(lines) + "\r\n").encode("cp1252"))


def room(data, key, title, tabs):
    image = Image.new("RGB", (800, 500), (245, 240, 225))
    draw = ImageDraw.Draw(image)
    big, small = ImageFont.truetype(BOLD, 40), ImageFont.truetype(FONT, 24)
    draw.text((40, 30), title, fill=(90, 60, 30), font=big)
    hot = []
    for i, (label, page) in enumerate(tabs):
        box = (40 + i * 250, 140, 270 + i * 250, 220)
        button(draw, box, label, small)
        hot.append((box, page))
    save_png(image, os.path.join(data, f"salle_{key}0.png"))
    lines = ["SVMOVIE 1", "SIZE 800 500", f"FRAME salle_{key}0.png"]
    for (x0, y0, x1, y1), page in hot:
        lines.append(f"HOT {x0} {y0} {x1 - x0} {y1 - y0} sv10:salle?appl={page}")
    write_if_changed(os.path.join(data, f"salle_{key}.swf"), ("\r\n".join(lines) + "\r\n").encode("cp1252"))


def main():
    out = sys.argv[1]
    data = os.path.join(out, "data")
    models = os.path.join(out, "modeles")
    os.makedirs(data, exist_ok=True)
    os.makedirs(models, exist_ok=True)
    home(data)
    for key, (title, tabs) in ROOMS.items():
        room(data, key, title, tabs)
    for name, text in TEMPLATES.items():
        write_if_changed(os.path.join(models, name), text.encode("cp1252"))


if __name__ == "__main__":
    main()
