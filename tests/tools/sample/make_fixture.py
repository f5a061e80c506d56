#!/usr/bin/python3
"""Writes a small source tree in the layout of the unpacked Debian packages
(two GIMP pages with pictures, a LibreOffice page, a man page and a thesaurus)
for the tests of tools/sample/corpus.py and of the sample base builder.

Usage: make_fixture.py ROOT
"""
import gzip
import io
import os
import sys

from PIL import Image

GIMP = "usr/share/gimp/2.0/help/fr"
LIBO = "usr/share/libreoffice/help/fr/text/scalc/guide"
MAN = "usr/share/man/fr/man1"
THES = "usr/share/mythes"

PAGES = {
    GIMP + "/gimp-calques.html": """<?xml version="1.0" encoding="UTF-8"?>
<html><head><title>3.1. Calques</title></head><body>
<div class="navheader"><a href="gimp-retouche.html"><img src="images/next.png" alt="Suivant"/></a> Navigation</div>
<div class="sect1"><h2 class="title">3.1. Calques</h2>
<p>Un <em>calque</em> est une image   transparente posée sur les autres ; le menu
<span class="guimenu">Calque</span> les gère.</p>
<ul><li><p>Calque actif</p></li><li><p>Calque de fond — toujours opaque</p></li></ul>
<p>Voir aussi <a class="xref" href="gimp-retouche.html">la retouche photo</a>.</p>
<div class="mediaobject"><img src="images/calque.png" alt="Calque"/></div>
<h3 class="title">3.1.1. Propriétés</h3>
<p>L'opacité d'un calque va de 0 à 100 → tout ou rien ; chinois : 中.</p>
<pre class="programlisting">gimp --calque
  /tmp/{fond}#1</pre>
</div>
<div class="navfooter"><p>Pied de page</p></div>
<script>var x = "<p>pas du texte</p>";</script>
</body></html>
""",
    GIMP + "/gimp-retouche.html": """<html><head><title>3.2. Retouche</title></head><body>
<div class="sect1"><h2 class="title">3.2. Retouche</h2>
<p>La retouche d'une <b>photo</b> numérique corrige l'œuvre ; un œil exercé suffit.</p>
<table><tr><td>Outil</td><td>Effet</td></tr><tr><td>Flou</td><td>adoucit</td></tr></table>
<p><img src="images/photo.jpg" alt="Photo"/></p>
</div></body></html>
""",
    LIBO + "/tableau.html": """<!DOCTYPE html><html lang="fr"><head><title>Tableau croisé dynamique</title></head>
<body><header id="TopLeftHeader"><p>Aide</p></header>
<div id="DisplayArea"><h1>Tableau croisé dynamique</h1>
<p class="paragraph">Le <span class="emph">tableau croisé</span> résume une plage de données.
<span class="switchinline"><span class="switchcase">Commande</span><span class="defaultinline">Ctrl</span></span>+F12.</p>
<ol><li><p>Sélectionnez la plage.</p></li><li><p>Choisissez <a href="fr/text/scalc/guide/tableau.html">le tableau</a>.</p></li></ol>
<h2>Filtrer le tableau</h2><p>Un filtre masque les lignes.</p></div>
<footer><div id="DEBUG"><p>debug</p></div></footer></body></html>
""",
}

MAN_PAGE = r""".TH EXEMPLE 1 "2024" "" "Manuel"
.SH NOM
exemple \- retoucher une image en ligne de commande
.SH DESCRIPTION
\fBexemple\fR applique une \fIretouche\fR à chaque image.
.TP
.B \-v
mode bavard
"""

THESAURUS = """UTF-8
image|2
(Nom)|photo|illustration
(Nom)|représentation (générique)|portrait
calque|1
(Nom)|copie|feuille transparente
inconnu|1
(Nom)|photo
"""


def write(root, rel, data):
    path = os.path.join(root, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main(root):
    for rel, text in PAGES.items():
        write(root, rel, text.encode("utf-8"))
    write(root, MAN + "/exemple.1.gz", gzip.compress(MAN_PAGE.encode("utf-8"), mtime=0))
    write(root, THES + "/th_fr_FR_v2.dat", THESAURUS.encode("utf-8"))
    # A 3 x 2 picture with transparency (flattened on white) and a JFIF one.
    png = Image.new("RGBA", (3, 2), (255, 0, 0, 255))
    png.putpixel((1, 0), (0, 0, 255, 0))
    png.putpixel((2, 1), (0, 128, 0, 255))
    buf = io.BytesIO()
    png.save(buf, "PNG")
    write(root, GIMP + "/images/calque.png", buf.getvalue())
    buf = io.BytesIO()
    Image.new("RGB", (8, 8), (10, 20, 30)).save(buf, "JPEG")
    write(root, GIMP + "/images/photo.jpg", buf.getvalue())


if __name__ == "__main__":
    main(sys.argv[1])
