#!/usr/bin/python3
"""Turns Debian's French help pages, man pages and thesaurus into the sample
encyclopedia's corpus: articles in slash markup (Windows-1252), the sorted
word items of the full-text index, the A-to-Z keys, the thesaurus relations,
the stop list, the character table and the images, all under one work folder
that tools/samplebase reads (layout in tools/sample/README.md).

Usage: corpus.py SOURCE_ROOT WORK_FOLDER IMAGE_FOLDER [--limit N]
SOURCE_ROOT is the folder where the .deb packages were unpacked (dpkg -x).
"""
import gzip
import html
import html.parser
import io
import multiprocessing
import os
import posixpath
import subprocess
import sys
import unicodedata

import themes

GIMP = "usr/share/gimp/2.0/help/fr"
LIBO = "usr/share/libreoffice/help/fr/text"
MAN = "usr/share/man/fr"
THES = "usr/share/mythes/th_fr_FR_v2.dat"

MAX_KEY = 127  # B+ tree keys are cut there: cut before sorting so that order holds

# Characters outside Windows-1252 that have a close reading in it; anything
# else outside it becomes "?" and is counted.
FALLBACK = {
    "\u2010": "-", "\u2011": "-", "\u2012": "-", "\u2212": "-", "\u2043": "-",
    "\u202f": "\xa0", "\u2007": " ", "\u2009": " ", "\u200a": " ", "\u2002": " ", "\u2003": " ",
    "\u200b": "", "\u200e": "", "\u200f": "", "\ufeff": "", "\u00ad": "",
    "\u2192": "->", "\u2190": "<-", "\u21d2": "=>", "\u2194": "<->", "\u2264": "<=", "\u2265": ">=",
    "\u2260": "!=", "\u2248": "~", "\u00a0": "\xa0", "\ufb01": "fi", "\ufb02": "fl", "\u2032": "'",
    "\u2033": "\"", "\u0110": "D", "\u0111": "d", "\u0141": "L", "\u0142": "l", "\u27e8": "<", "\u27e9": ">",
    "\u2500": "-", "\u2502": "|", "\u250c": "+", "\u2510": "+", "\u2514": "+", "\u2518": "+", "\u251c": "+",
    "\u2524": "+", "\u2715": "x", "\u2716": "x", "\u2713": "v", "\u2714": "v", "\u25b8": ">",
    "\u25b6": ">", "\u25c0": "<", "\u2191": "^", "\u2193": "v", "\u2026": "\u2026", "\u0153": "\u0153",
}

# Bytes that belong to words: letters and digits of Windows-1252.
WORD_BYTES = frozenset(
    list(range(0x30, 0x3A)) + list(range(0x41, 0x5B)) + list(range(0x61, 0x7B))
    + [0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F, 0xAA, 0xB5, 0xBA]
    + [b for b in range(0xC0, 0x100) if b not in (0xD7, 0xF7)])


def char_table():
    """The key filter: upper case to lower case, accents dropped, one byte each."""
    table = list(range(256))
    for b in range(256):
        if b not in WORD_BYTES:
            continue
        c = bytes([b]).decode("cp1252")
        base = unicodedata.normalize("NFD", c.lower())[0]
        try:
            out = base.encode("cp1252")
        except UnicodeEncodeError:
            continue
        if len(out) == 1 and out[0] in WORD_BYTES:
            table[b] = out[0]
    table[0x8C] = 0x9C  # OE ligature to its lower case; it has no one-letter base
    return table


TABLE = char_table()
FILTER = bytes(TABLE)

# The question's separators: every printable byte that is not a word byte,
# except the wildcards "?" and "*!" (truncation) of its patterns, and its
# quotes and parentheses, which the criterion would skip as separators.
SEPARATORS = bytes(b for b in range(0x20, 0x100)
                   if b not in WORD_BYTES and b not in (0x21, 0x22, 0x28, 0x29, 0x2A, 0x3F, 0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D))

STOP_WORDS = """a à ai aie aient ait as au aucun aucune aussi autre aux avec avoir c ça car ce ceci cela celle
celles celui cependant ces cet cette ceux chaque ci d dans de des donc dont du elle elles en encore entre est et
étaient était été être eu eux fait faire il ils j je jusqu l la le les leur leurs lui m ma mais me même mêmes
mes moi mon n ne ni nos notre nous on ont or ou où par parce pas peu peut plus pour pourquoi qu quand que quel
quelle quelles quels qui quoi s sa sans se ses si sinon soit son sont sous sur t ta te tes toi ton tous tout
toute toutes tu un une uns unes vos votre vous y""".split()


class Counter:
    """Characters outside Windows-1252: those written as a close reading, and
    those lost (written "?"), by character."""

    def __init__(self):
        self.missing = {}
        self.approximated = 0

    def add(self, ch):
        self.missing[ch] = self.missing.get(ch, 0) + 1


def to_cp1252(text, counter):
    """Windows-1252 bytes of text; characters that do not fit are counted."""
    out = bytearray()
    for ch in text:
        try:
            out += ch.encode("cp1252")
            continue
        except UnicodeEncodeError:
            pass
        sub = FALLBACK.get(ch)
        if sub is None:
            # A letter with a mark Windows-1252 lacks reads as its base letter.
            base = "".join(c for c in unicodedata.normalize("NFKD", ch) if not unicodedata.combining(c))
            try:
                sub = base if base and base != ch and base.encode("cp1252") else None
            except UnicodeEncodeError:
                sub = None
        if sub is None:
            counter.add(ch)
            sub = "?"
        else:
            counter.approximated += 1
        out += sub.encode("cp1252")
    return bytes(out)


def escape(data):
    """Plain text in slash markup: the command character, the escape and the
    brace and button delimiters go behind a backslash; control bytes go."""
    out = bytearray()
    for b in data:
        if b < 0x20:
            if b == 0x09:
                out.append(b)
            continue
        if b in b"/\\{}#":
            out.append(0x5C)
        out.append(b)
    return bytes(out)


def words_of(data):
    """The words of Windows-1252 text, as written."""
    words, start = [], None
    for i, b in enumerate(data):
        if b in WORD_BYTES:
            if start is None:
                start = i
        elif start is not None:
            words.append(data[start:i])
            start = None
    if start is not None:
        words.append(data[start:])
    return words


def key_of(word):
    return word.translate(FILTER)[:MAX_KEY]


# --- HTML to blocks --------------------------------------------------------

SKIP_TAGS = {"script", "style", "head", "header", "footer", "aside", "nav", "noscript", "button", "input", "label"}
# "switchcase" holds the variants of a help text for other systems; the
# default text stays.
SKIP_CLASSES = {"navheader", "navfooter", "noteicon", "head", "foot", "reportbug", "indexterm", "switchcase"}
SKIP_IDS = {"DEBUG", "SearchFrame", "DonationFrame", "TopLeftHeader"}
BLOCK_TAGS = {"p", "div", "pre", "li", "dt", "dd", "tr", "h1", "h2", "h3", "h4", "h5", "h6", "blockquote", "table",
              "ul", "ol", "dl", "section", "br", "hr", "caption", "figure", "body", "td", "th"}
VOID_TAGS = {"br", "hr", "img", "meta", "link", "input", "area", "base", "col", "embed", "param", "source", "wbr"}


class Block:
    """One paragraph of an article: kind "h" (level), "p", "li", "pre", "img", "row"."""

    def __init__(self, kind, level=0, bullet=""):
        self.kind, self.level, self.bullet = kind, level, bullet
        self.runs = []  # (style letter, text, href or None)
        self.image = None
        self.alt = ""

    def text(self):
        return "".join(r[1] for r in self.runs)


class PageParser(html.parser.HTMLParser):
    """Cuts a help page into blocks, keeping emphasis, links, list items, table
    rows and images, and leaving out navigation, scripts and page furniture."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.blocks = []
        self.title = ""
        self.in_title = False
        self.stack = []  # (tag, skip, style, href)
        self.skip = 0
        self.current = None
        self.lists = []  # [ordered, counter]
        self.pre = 0
        self.cell = 0

    def style(self):
        for tag, _, style, _ in reversed(self.stack):
            if style:
                return style
        return "A"

    def href(self):
        for tag, _, _, href in reversed(self.stack):
            if href is not None:
                return href
        return None

    def start_block(self, kind, level=0, bullet=""):
        self.end_block()
        self.current = Block(kind, level, bullet)

    def end_block(self):
        b = self.current
        if b is not None and (b.kind == "img" or b.text().strip()):
            self.blocks.append(b)
        self.current = None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        classes = set((a.get("class") or "").split())
        skip = tag in SKIP_TAGS or bool(classes & SKIP_CLASSES) or a.get("id") in SKIP_IDS
        if tag == "title":
            self.in_title = True
        if tag in VOID_TAGS:
            if not self.skip and not skip:
                self.void(tag, a)
            return
        style = None
        if tag in ("b", "strong") or classes & {"guilabel", "guimenu", "guimenuitem", "guisubmenu", "menuitem",
                                                 "bold", "keycap", "guibutton"}:
            style = "B"
        elif tag in ("i", "em", "cite", "var") or classes & {"emph", "emphasis", "replaceable", "citetitle"}:
            style = "E"
        elif tag in ("code", "tt", "kbd", "samp") or classes & {"literal", "filename", "command", "code"}:
            style = "D"
        href = a.get("href") if tag == "a" and a.get("href") else None
        self.stack.append((tag, skip, style, href))
        if skip:
            self.skip += 1
            return
        if self.skip:
            return
        if tag in ("h1", "h2", "h3", "h4", "h5", "h6"):
            self.start_block("h", int(tag[1]))
        elif tag in ("ul", "ol"):
            self.lists.append([tag == "ol", 0])
        elif tag == "li":
            bullet = "\u2022 "
            if self.lists:
                self.lists[-1][1] += 1
                if self.lists[-1][0]:
                    bullet = "%d. " % self.lists[-1][1]
            self.start_block("li", bullet=bullet)
        elif tag == "pre":
            self.pre += 1
            self.start_block("pre")
        elif tag == "tr":
            self.start_block("row")
            self.cell = 0
        elif tag in ("td", "th"):
            if self.current is None or self.current.kind != "row":
                self.start_block("row")
                self.cell = 0
            if self.cell:
                # Cells are apart by a tab, which the blank folding would lose.
                self.current.runs.append(("A", "\t", None))
            self.cell += 1
        elif tag == "dt":
            self.start_block("p")
        elif tag == "dd":
            self.start_block("li", bullet="    ")
        elif tag in BLOCK_TAGS:
            if self.current is None or self.current.kind not in ("row", "li") or tag == "p" and self.current.text():
                if not (self.current is not None and self.current.kind == "li" and not self.current.text()):
                    self.start_block("p")

    def void(self, tag, a):
        if tag == "br":
            if self.pre:
                self.text_run("\n")
            elif self.current is not None and self.current.kind not in ("row",):
                kind = self.current.kind
                self.start_block(kind if kind in ("p", "pre") else "p")
        elif tag == "img":
            src = a.get("src")
            if src:
                keep = self.current
                self.end_block()
                b = Block("img")
                b.image = src
                b.alt = a.get("alt") or ""
                self.blocks.append(b)
                if keep is not None and keep.kind in ("li", "p", "row"):
                    self.current = Block(keep.kind if keep.kind != "li" else "p")

    def handle_endtag(self, tag):
        if tag == "title":
            self.in_title = False
        if tag in VOID_TAGS:
            return
        # Pop to the matching start tag; unclosed inner tags end with it.
        for i in range(len(self.stack) - 1, -1, -1):
            if self.stack[i][0] == tag:
                for t, skip, _, _ in self.stack[i:]:
                    if skip:
                        self.skip -= 1
                del self.stack[i:]
                break
        else:
            return
        if self.skip:
            return
        if tag in ("ul", "ol") and self.lists:
            self.lists.pop()
            self.end_block()
        elif tag == "pre":
            self.pre = max(0, self.pre - 1)
            self.end_block()
        elif tag in ("h1", "h2", "h3", "h4", "h5", "h6", "li", "tr", "dt", "dd", "p", "table", "div", "section"):
            self.end_block()

    def handle_data(self, data):
        if self.in_title:
            self.title += data
            return
        if self.skip:
            return
        self.text_run(data)

    def text_run(self, data):
        if not self.pre:
            # Runs of white space become one blank, kept at the run's edges.
            inner = " ".join(data.replace("\xa0", "\x00").split()).replace("\x00", "\xa0")
            lead = " " if data[:1].isspace() and data[:1] != "\xa0" else ""
            trail = " " if inner and data[-1:].isspace() and data[-1:] != "\xa0" else ""
            data = lead + inner + trail
            if not data:
                return
        if self.current is None:
            if not data.strip():
                return
            self.current = Block("pre" if self.pre else "p")
        runs = self.current.runs
        style, href = self.style(), self.href()
        if runs and runs[-1][0] == style and runs[-1][2] == href:
            runs[-1] = (style, runs[-1][1] + data, href)
        else:
            runs.append((style, data, href))

    def close(self):
        super().close()
        self.end_block()


# --- pages to articles -----------------------------------------------------

class Page:
    def __init__(self, source, name, title, blocks, base_dir, split_level):
        self.source, self.name, self.title = source, name, title
        self.blocks, self.base_dir, self.split_level = blocks, base_dir, split_level


def clean_title(title):
    title = " ".join(title.split())
    # Section numbers of the GIMP manual ("8.50. Histogramme").
    head, _, rest = title.partition(" ")
    if rest and head.rstrip(".").replace(".", "").isdigit():
        title = rest
    return title


def read_html(path):
    with open(path, "rb") as f:
        data = f.read()
    return data.decode("utf-8", errors="replace")


def parse_page(source, path, rel, base_dir, split_level):
    p = PageParser()
    p.feed(read_html(path))
    p.close()
    title = clean_title(html.unescape(p.title))
    blocks = p.blocks
    if blocks and blocks[0].kind == "h":
        if not title:
            title = clean_title(blocks[0].text())
        blocks = blocks[1:]
    if not title:
        title = rel
    return Page(source, rel, title, blocks, base_dir, split_level)


def man_page(root, rel):
    path = os.path.join(root, rel)
    with gzip.open(path, "rb") as f:
        roff = f.read()
    r = subprocess.run(["mandoc", "-Thtml", "-Ofragment", "-Wstop"], input=roff, capture_output=True)
    p = PageParser()
    p.feed(r.stdout.decode("utf-8", errors="replace"))
    p.close()
    base = os.path.basename(rel)[:-3]
    name, _, section = base.rpartition(".")
    title = "%s(%s)" % (name, section)
    blocks = p.blocks
    # The NOM section's line "name - what it does" completes the title.
    for i, b in enumerate(blocks):
        if b.kind == "h" and b.text().strip().upper() in ("NOM", "NAME") and i + 1 < len(blocks):
            what = blocks[i + 1].text()
            if " - " in what:
                title += " : " + " ".join(what.split(" - ", 1)[1].split())
            break
    name = posixpath.relpath(rel, MAN)[:-3]
    return Page("manpages-fr", name, title, blocks, posixpath.dirname(name), 1)


def load_page(job):
    kind, root, rel = job
    try:
        if kind == "man":
            return man_page(root, rel)
        if kind == "gimp":
            return parse_page("gimp-help-fr", os.path.join(root, GIMP, rel), rel, "", 3)
        return parse_page("libreoffice-help-fr", os.path.join(root, LIBO, rel), rel, posixpath.dirname(rel), 2)
    except (OSError, UnicodeError, subprocess.SubprocessError) as e:
        print("corpus: skipped %s (%s)" % (rel, e), file=sys.stderr)
        return None


def list_jobs(root):
    jobs = []
    g = os.path.join(root, GIMP)
    if os.path.isdir(g):
        jobs += [("gimp", root, n) for n in sorted(os.listdir(g)) if n.endswith(".html")]
    lo = os.path.join(root, LIBO)
    for dirpath, _, files in sorted(os.walk(lo)):
        for n in sorted(files):
            if n.endswith(".html"):
                jobs.append(("libo", root, os.path.relpath(os.path.join(dirpath, n), lo).replace(os.sep, "/")))
    m = os.path.join(root, MAN)
    for dirpath, _, files in sorted(os.walk(m)):
        for n in sorted(files):
            if n.endswith(".gz") and os.path.isfile(os.path.join(dirpath, n)):
                jobs.append(("man", root, os.path.relpath(os.path.join(dirpath, n), root).replace(os.sep, "/")))
    return jobs


class Article:
    def __init__(self, title, ext, blocks, page):
        self.title, self.ext, self.blocks, self.page = title, ext, blocks, page


def articles_of(page):
    """The page as a whole, then each titled section of it."""
    out = [Article(page.title, page.source + "/" + page.name, page.blocks, page)]
    sections = [i for i, b in enumerate(page.blocks) if b.kind == "h" and b.level <= page.split_level + 1]
    for n, i in enumerate(sections):
        end = sections[n + 1] if n + 1 < len(sections) else len(page.blocks)
        body = page.blocks[i + 1:end]
        heading = clean_title(page.blocks[i].text())
        if not body or not heading:
            continue
        out.append(Article(page.title + " \u2014 " + heading, page.source + "/" + page.name + "#" + str(n + 1),
                           body, page))
    return out


class Corpus:
    def __init__(self, images_out):
        self.counter = Counter()
        self.images = {}  # source path -> output name
        self.captions = {}  # output name -> (caption, page title) where first shown
        self.images_out = images_out
        self.chars = 0

    def image_name(self, page, src):
        if page.source == "gimp-help-fr":
            path = posixpath.normpath(posixpath.join(GIMP, src))
        else:
            return None
        if path not in self.images:
            ext = os.path.splitext(path)[1].lower()
            if ext not in (".png", ".jpg", ".jpeg"):
                return None
            self.images[path] = "i%05d%s" % (len(self.images), ".jpg" if ext in (".jpg", ".jpeg") else ".bmp")
        return self.images[path]

    def enc(self, text):
        self.chars += len(text)
        return to_cp1252(text, self.counter)

    def render(self, article, docs):
        """The article's markup and, per paragraph, its words."""
        out = bytearray(b"/H" + escape(self.enc(article.title)) + b"\n")
        paragraphs = [words_of(self.enc(article.title))]
        for b in article.blocks:
            if b.kind == "img":
                name = self.image_name(article.page, b.image)
                if name and name not in self.captions:
                    self.captions[name] = (b.alt.strip(), article.page.title)
                if name:
                    # Beside the picture, the buttons to its document and to a
                    # movie made of it, numbered once the picture list is known.
                    out += (b"/A{B-1#images/" + name.encode("ascii") + b"}" + PICTURE_MARK + name.encode("ascii") +
                            b"\0\n")
                    paragraphs.append([])
                continue
            if b.kind == "pre":
                for part in self.enc(b.text().strip("\n")).split(b"\n"):
                    out += b"/D" + escape(part) + b"\n"
                    paragraphs.append(words_of(part))
                continue
            current = b"G" if b.kind == "h" else b"A"
            line = bytearray(b"/" + current)
            if b.kind == "li":
                line += escape(self.enc(b.bullet))
            plain = bytearray()
            for i, (style, text, href) in enumerate(b.runs):
                if i == 0:
                    text = text.lstrip(" ")
                if i == len(b.runs) - 1:
                    text = text.rstrip(" ")
                data = self.enc(text)
                plain += data
                target = self.link_target(article.page, href, docs)
                web = self.web_search(href, data)
                if target is not None and data.strip():
                    # A button whose prefix "1" keeps and then restores the
                    # style around it; its hidden target "G:n" opens document n.
                    line += b"{@d1@/M/1" + escape(data) + b"#G:" + str(target).encode() + b"}"
                elif web:
                    # A web page: the online service's search for its label ("@" + text).
                    line += b"{@d1@/M/1" + escape(data) + b"#@" + escape(web) + b"}"
                else:
                    want = b"G" if b.kind == "h" else style.encode()
                    if want != current:
                        line += b"/" + want
                        current = want
                    line += escape(data)
            out += line + b"\n"
            paragraphs.append(words_of(bytes(plain)))
        return bytes(out), paragraphs

    @staticmethod
    def web_search(href, label):
        """The words the online service searches for a link to a web page, or None."""
        if not href or not href.startswith(("http://", "https://")):
            return None
        words = b" ".join(words_of(label))
        return words if 2 < len(words) <= 60 else None

    def link_target(self, page, href, docs):
        if not href or "://" in href or href.startswith(("mailto:", "javascript:")):
            return None
        path = href.split("#", 1)[0]
        if not path:
            return None
        if page.source == "libreoffice-help-fr":
            # Pages link from the help root: "fr/text/scalc/01/x.html".
            if path.startswith("fr/text/"):
                path = path[len("fr/text/"):]
            else:
                path = posixpath.normpath(posixpath.join(page.base_dir, path))
        else:
            path = posixpath.normpath(posixpath.join(page.base_dir, path))
        return docs.get((page.source, path))


def convert_image(job):
    src, dst = job
    try:
        if os.path.exists(dst) and os.path.getmtime(dst) >= os.path.getmtime(src):
            return True
        from PIL import Image
        with Image.open(src) as im:
            if dst.endswith(".jpg"):
                with open(src, "rb") as f:
                    head = f.read(12)
                if head[6:10] == b"JFIF" and im.mode in ("RGB", "L"):
                    data = open(src, "rb").read()
                else:
                    buf = io.BytesIO()
                    im.convert("RGB").save(buf, "JPEG", quality=88)
                    data = buf.getvalue()
            else:
                data = ky_bitmap(im)
        tmp = dst + ".tmp"
        with open(tmp, "wb") as f:
            f.write(data)
        os.replace(tmp, dst)
        return True
    except Exception as e:  # a broken picture must not stop the corpus
        print("corpus: image %s skipped (%s)" % (src, e), file=sys.stderr)
        return False


def ky_bitmap(im):
    """The framework's bitmap file: a 24-bit Windows bitmap whose rows are a PNG
    stream. The PNG holds the DIB's rows as stored (bottom row first, bytes
    blue, green, red); the reader pads each row to 4 bytes itself.

        "KY" u32 size, u32 0, u32 offset      file header, 14 bytes
        BITMAPINFOHEADER                      40 bytes, biCompression 0
        PNG stream                            8-bit RGB, width x height
    """
    import struct
    from PIL import Image
    if im.mode in ("RGBA", "LA", "P", "PA") or "transparency" in im.info:
        im = im.convert("RGBA")
        back = Image.new("RGBA", im.size, (255, 255, 255, 255))
        back.alpha_composite(im)
        im = back
    rgb = im.convert("RGB")
    w, h = rgb.size
    bgr = rgb.transpose(Image.FLIP_TOP_BOTTOM).tobytes("raw", "BGR")
    rows = Image.frombytes("RGB", (w, h), bgr)
    buf = io.BytesIO()
    rows.save(buf, "PNG", optimize=False, compress_level=6)
    png = buf.getvalue()
    stride = (w * 3 + 3) & ~3
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, stride * h, 2835, 2835, 0, 0)
    header = b"KY" + struct.pack("<IHHI", 14 + 40 + len(png), 0, 0, 14 + 40)
    return header + info + png


def thesaurus(path, known):
    """Synonym relations of the thesaurus between words the index holds, as keys."""
    relations = {}
    with open(path, "rb") as f:
        lines = f.read().decode("utf-8", errors="replace").splitlines()
    i = 1
    counter = Counter()
    while i < len(lines):
        head, _, n = lines[i].rpartition("|")
        i += 1
        try:
            count = int(n)
        except ValueError:
            continue
        term = key_of(to_cp1252(head.strip(), counter))
        for line in lines[i:i + count]:
            if term not in known:
                continue
            for syn in line.split("|")[1:]:
                syn = syn.split("(")[0].strip()
                words = words_of(to_cp1252(syn, counter))
                if len(words) != 1:
                    continue
                key = key_of(words[0])
                if key != term and key in known:
                    rel = relations.setdefault(term, [])
                    if key not in rel and len(rel) < 60:
                        rel.append(key)
        i += count
    return relations


def az_keys(titles):
    """The A-to-Z keys of (filtered title, document) pairs, in key order: the
    title cut to leave room for a suffix, repeated ones followed by byte 1 and
    their rank in three digits, so that every key is above the one before."""
    keys = sorted((key[:MAX_KEY - 4], doc) for key, doc in titles)
    out = []
    previous, repeat = None, 0
    for key, doc in keys:
        repeat = repeat + 1 if key == previous else 0
        previous = key
        out.append((key + (b"\x01%03d" % repeat if repeat else b""), doc))
    return out


def write_atomic(path, data):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


# The sample's picture documents, one line each, Windows-1252:
#   name TAB width ":" height TAB caption TAB page title TAB source file
# the caption being the picture's alternative text, else its page's title;
# the source file is the unpacked package's picture (the tests decode it
# with another decoder to compare).
# All the JPEG pictures come first, then the others, up to MAX_PICTURES; a
# picture that did not convert is left out.
MAX_PICTURES = 400
# The made-up figure documents the base numbers before the pictures
# (tools/samplebase/SampleBase.cpp, kFigures).
FIGURES = 2


# Where a picture's buttons go in an article's markup: the mark, the picture's
# name, a NUL (neither occurs in the markup).
PICTURE_MARK = b"\0P"
# The movies tools/sample/media.py makes of the first pictures of the list.
MOVIES = 2


def picture_buttons(markup, pictures, first_picture_doc):
    """The markup with each picture mark made the buttons to the picture's
    document ("G:n") and, for a picture a movie is made of, to play the movie
    ("S:n"); pictures is the list's names in order."""
    numbers = {name: n for n, name in enumerate(pictures)}
    parts = markup.split(PICTURE_MARK)
    out = bytearray(parts[0])
    for part in parts[1:]:
        name, rest = part.split(b"\0", 1)
        n = numbers.get(name.decode("ascii"))
        if n is not None:
            out += b" {@d1@/M/1Agrandir l'image#G:%d}" % (first_picture_doc + n)
            if n < MOVIES:
                out += b" {@d1@/M/1Voir la vid\xe9o#S:%d}" % (first_picture_doc + len(pictures) + n)
        out += rest
    return bytes(out)


def picture_list(corpus, image_jobs):
    from PIL import Image
    lines, captions = [], []
    for jpeg in (True, False):
        for src, dst in image_jobs:
            name = os.path.basename(dst)
            if name.endswith(".jpg") != jpeg or not os.path.exists(dst) or len(lines) >= MAX_PICTURES:
                continue
            try:
                with Image.open(src) as im:
                    width, height = im.size
            except OSError:
                continue
            alt, page = corpus.captions.get(name, ("", ""))
            caption = corpus.enc(" ".join((alt or page).split()))
            title = corpus.enc(" ".join(page.split()))
            clean = lambda b: b.replace(b"\t", b" ").replace(b"\n", b" ")
            lines.append(name.encode("ascii") + b"\t%d:%d\t" % (width, height) + clean(caption) + b"\t" + clean(title) +
                         b"\t" + os.path.abspath(src).encode("utf-8", "replace"))
            captions.append(clean(caption) or clean(title))
    return b"".join(line + b"\n" for line in lines), captions


# The advanced search's fields, each its own index (tools/samplebase/SampleAdvanced.cpp):
# "champ_<field>.txt", "key TAB document TAB position" lines in byte order, as words.txt.
#   titres    the words of the articles' titles (their paragraph 0)
#   resumes   the words of the articles' first paragraph after the title
#   legendes  the words of the pictures' captions
#   themes    one of the theme choices' values per document: "logiciel" (the
#             help pages), "commande" (man pages of sections 1, 6 and 8),
#             "fichier" (section 5), "image" (an article showing a picture,
#             and the pictures)
THEME_OF_SECTION = {"1": b"commande", "6": b"commande", "8": b"commande", "5": b"fichier"}


def write_field_indexes(work, items, pages, articles, docs, counts, corpus):
    first_picture = len(articles) + FIGURES
    fields = {"titres": [], "resumes": [], "legendes": [], "themes": []}
    for key, doc, pos in items:
        if doc >= first_picture:
            fields["legendes"].append((key, doc, pos))
        elif pos >> 16 == 0:
            fields["titres"].append((key, doc, pos))
        elif pos >> 16 == 1:
            fields["resumes"].append((key, doc, pos))
    themes = set()
    for page in pages:
        first = docs[(page.source, page.name)]
        if page.source == "manpages-fr":
            theme = THEME_OF_SECTION.get(page.name.rsplit(".", 1)[-1][:1])
        else:
            theme = b"logiciel"
        for doc in range(first, first + counts[(page.source, page.name)]):
            if theme:
                themes.add((key_of(theme), doc, 0))
    for doc, a in enumerate(articles):
        if any(b.kind == "img" for b in a.blocks):
            themes.add((key_of(b"image"), doc, 0))
    for n in range(len(corpus.captions)):
        themes.add((key_of(b"image"), first_picture + n, 0))
    fields["themes"] = sorted(themes)
    for name, rows in fields.items():
        write_atomic(os.path.join(work, "champ_" + name + ".txt"), b"".join(b"%s\t%d\t%d\n" % row for row in rows))


def main(argv):
    root, work, images_out = argv[1], argv[2], argv[3]
    limit = int(argv[argv.index("--limit") + 1]) if "--limit" in argv else 0
    os.makedirs(work, exist_ok=True)
    os.makedirs(images_out, exist_ok=True)
    jobs = list_jobs(root)
    if limit:
        jobs = jobs[:limit]
    with multiprocessing.Pool() as pool:
        pages = [p for p in pool.map(load_page, jobs, chunksize=16) if p is not None]
    docs = {}
    counts = {}
    articles = []
    for page in pages:
        docs[(page.source, page.name)] = len(articles)
        of_page = articles_of(page)
        counts[(page.source, page.name)] = len(of_page)
        articles += of_page
    corpus = Corpus(images_out)
    records = bytearray()
    items = []
    titles = []
    rendered = []
    for n, a in enumerate(articles):
        markup, paragraphs = corpus.render(a, docs)
        title = corpus.enc(a.title)
        ext = corpus.enc(a.ext)
        rendered.append((title, ext, markup))
        for p, words in enumerate(paragraphs[:0x7FFF]):
            for w, word in enumerate(words[:0xFFFF]):
                items.append((key_of(word), n, (p << 16) | w))
        titles.append((key_of(b" ".join(words_of(title))) or b"_", n))
    image_jobs = [(os.path.join(root, src), os.path.join(images_out, name)) for src, name in corpus.images.items()]
    with multiprocessing.Pool() as pool:
        converted = sum(pool.map(convert_image, image_jobs, chunksize=8))
    pictures, captions = picture_list(corpus, image_jobs)
    write_atomic(os.path.join(work, "pictures.txt"), pictures)
    names = [line.split(b"\t", 1)[0].decode("ascii") for line in pictures.splitlines()]
    for n, (title, ext, markup) in enumerate(rendered):
        markup = picture_buttons(markup, names, len(articles) + FIGURES)
        records += b"%d\t%d\t%d\t%d\n" % (n, len(title), len(ext), len(markup)) + title + ext + markup
    # The theme tree, its labels in the articles' encoding.
    lines = themes.theme_lines(root, pages, docs, counts, GIMP)
    write_atomic(os.path.join(work, "themes.txt"),
                 b"".join(escape(corpus.enc(line)) + b"\n" for line in lines))
    # The pictures are found by their caption's words, and listed in the
    # A-to-Z index, under the document numbers the base gives them.
    for n, caption in enumerate(captions):
        doc = len(articles) + FIGURES + n
        words = words_of(caption)
        for w, word in enumerate(words[:0xFFFF]):
            items.append((key_of(word), doc, w))
        titles.append((key_of(b" ".join(words)) or b"_", doc))
    items.sort()
    write_field_indexes(work, items, pages, articles, docs, counts, corpus)
    known = set(k for k, _, _ in items)
    out = bytearray()
    for key, doc, pos in items:
        out += b"%s\t%d\t%d\n" % (key, doc, pos)
    write_atomic(os.path.join(work, "articles.dat"), bytes(records))
    write_atomic(os.path.join(work, "words.txt"), bytes(out))
    write_atomic(os.path.join(work, "az.txt"), b"".join(k + b"\t%d\n" % doc for k, doc in az_keys(titles)))
    thes = os.path.join(root, THES)
    rel = bytearray()
    if os.path.exists(thes):
        for term, syns in sorted(thesaurus(thes, known).items()):
            for s in syns:
                rel += term + b"\t3\t" + s + b"\n"
    write_atomic(os.path.join(work, "thesaurus.txt"), bytes(rel))
    stops = sorted(set(key_of(to_cp1252(w, corpus.counter)) for w in STOP_WORDS))
    write_atomic(os.path.join(work, "stop.txt"), b"".join(s + b"\n" for s in stops))
    write_atomic(os.path.join(work, "chars.txt"), b"".join(b"%d\n" % v for v in TABLE))
    write_atomic(os.path.join(work, "separators.txt"), SEPARATORS)
    missing = sum(corpus.counter.missing.values())
    worst = sorted(corpus.counter.missing.items(), key=lambda kv: -kv[1])[:8]
    report = ("pages %d, articles %d, word occurrences %d, distinct keys %d, images %d of %d\n"
              "characters %d, outside Windows-1252 %d written as a close reading, %d lost: %s\n" % (
                  len(pages), len(articles), len(items), len(known), converted, len(image_jobs), corpus.chars,
                  corpus.counter.approximated, missing, " ".join("U+%04X x%d" % (ord(c), k) for c, k in worst)))
    write_atomic(os.path.join(work, "report.txt"), report.encode())
    sys.stdout.write(report)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
