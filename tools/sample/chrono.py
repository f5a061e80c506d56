#!/usr/bin/env python3
"""The sample chronology: French dated events become the records of the
chronology base, written under WORK/chrono for samplebase. The events are
the calendar files' births, deaths, battles, treaties... whose whole subject
is a proper name, said in French ("Naissance de Jakob Grimm"), the French
calendar's dated holidays and the corpus's own dated sentences; every other
entry of the English files is left out.

Usage: chrono.py SRC WORK

Text tables are "<table>.txt", records separated by a form feed, in
Windows-1252; the pictures are "bmp/<n>.bmp", record n of the BMP table.
"""
import gettext
import io
import json
import os
import re
import sys

from PIL import Image

import ephemeris
import searches

# Calendar file -> category (the band the event is drawn in).
SOURCES = [("calendar.history", 0), ("calendar.birthday", 1), ("calendar.music", 2), ("calendar.computer", 3)]
THEMES = ["Histoire", "Naissances et morts", "Musique", "Informatique"]
EVENTS_WANTED = 400
# Year, years per unit: recent centuries get more room.
SCALE = [(-3000, 500), (0, 100), (1000, 50), (1500, 10), (1700, 2), (1750, 1), (1850, 2), (1900, 5), (2030, 5)]
PERIODS = [(-3000, "Antiquit\u00e9"), (0, "D\u00e9but de notre \u00e8re"), (500, "Haut Moyen \u00c2ge"),
           (1000, "Moyen \u00c2ge"), (1500, "Renaissance"), (1650, "Grand Si\u00e8cle"),
           (1715, "Lumi\u00e8res"), (1789, "R\u00e9volution"), (1815, "XIXe si\u00e8cle"),
           (1914, "Guerres mondiales"), (1945, "Apr\u00e8s-guerre"), (1990, "\u00c8re num\u00e9rique")]
BAND_PICTURES = 6
# Four of the view's five rows: the fifth would touch the next band's first.
ROWS = 4
CHAR_PX = 8        # a label's width estimate per character at the default zoom
PICTURE_PX = 20
UNIT = 200


def cp1252(text):
    return text.encode("cp1252", "replace")


def year_pos(year):
    """The x position of a year at the default unit, as the view computes it."""
    pos = 0
    for (y0, f), (y1, _) in zip(SCALE, SCALE[1:]):
        if year <= y1:
            return pos + (year - y0) // f * UNIT + (year - y0) % f * UNIT // f
        pos += (y1 - y0) // f * UNIT
    return pos


YEAR_AT_END = re.compile(r"^(.*?)[,(]?\s*\(?\s*(?:c\.\s*)?(\d{3,4})(\s*B\.?C\.?)?\)?\s*$")


def shorten(label, most=45):
    """At most `most` characters, cut after a whole word."""
    if len(label) <= most:
        return label
    return label[:most - 3].rsplit(" ", 1)[0].rstrip(" ,;") + "..."


def read_events(folder):
    """(year, category, label) of every event whose text ends with its year."""
    events = []
    for name, category in SOURCES:
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            continue
        entries = []
        with open(path, encoding="utf-8", errors="replace") as f:
            for line in f:
                line = line.rstrip("\n")
                if re.match(r"^\d\d/\d\d|^[A-Z][a-z]{2} \d\d", line):
                    entries.append(line.split("\t", 1)[-1].strip())
                elif line.startswith("\t") and entries:
                    entries[-1] += " " + line.strip()
        for text in entries:
            text = " ".join(text.split())
            m = YEAR_AT_END.match(text)
            if not m:
                continue
            # A colon would cut the label: the view shows only what follows it.
            label = m.group(1).rstrip(" ,(").strip().replace(":", " -")
            year = int(m.group(2)) * (-1 if m.group(3) else 1)
            if label and SCALE[0][0] <= year < SCALE[-1][0] and "|" not in label:
                events.append((year, category, shorten(label)))
    return events


# A proper name: capitalised words and the particles between them.
NAME_WORD = r"(?:[A-Z][\w.'-]*|de|da|di|du|van|von|der|den|la|le|del)"
PROPER = r"%s(?: %s)*(?:,? Jr\.)?" % (NAME_WORD, NAME_WORD)
# An English entry whose subject is a proper name and the French of it.
FRENCH = [(re.compile(english % PROPER), french) for english, french in [
    (r"^(?P<n>%s),? (?:is )?born\b", "Naissance de"),
    (r"^(?P<n>%s),? (?:died|dies|is dead)\b", "Mort de"),
    (r"^Battle of (?P<n>%s)$", "Bataille de"),
    (r"^Treaty of (?P<n>%s)$", "Trait\u00e9 de"),
    (r"^Siege of (?P<n>%s)$", "Si\u00e8ge de"),
    (r"^(?P<n>%s) (?:is )?(?:assassinated|murdered)\b", "Assassinat de"),
    (r"^(?P<n>%s) (?:is )?crowned\b", "Couronnement de"),
    (r"^(?P<n>%s) (?:is )?(?:executed|beheaded|guillotined|hanged)\b", "Ex\u00e9cution de"),
    (r"^(?P<n>%s) abdicates\b", "Abdication de"),
]]


# Titles and words that would leave English in a name.
ENGLISH_WORDS = {"The", "US", "U.S.", "President", "King", "Queen", "Sir", "Lord", "Lady", "Pope", "Emperor",
                 "General", "Dr.", "Mr.", "Mrs.", "Prince", "Princess", "Captain", "Saint", "St.", "Of", "And"}


def french(label):
    """The French of a calendar entry whose subject is a proper name, or None."""
    for english, words in FRENCH:
        m = english.match(label)
        if m:
            name = m.group("n").rstrip(",")
            if ENGLISH_WORDS & set(name.split()):
                return None
            # "de" elides before a vowel: "Naissance d'Isaac Newton".
            if re.match("[AEIOU\u00c9]", name):
                return shorten(words[:-2] + "d'" + name)
            return shorten(words + " " + name)
    return None


def withdrawn_countries(src):
    """(year, 0, label, -1) of the countries whose ISO code was withdrawn
    (iso-codes), named in French; those without a French name left out."""
    share = os.path.join(src, "usr/share")
    try:
        with open(os.path.join(share, "iso-codes/json/iso_3166-3.json"), encoding="utf-8") as f:
            countries = json.load(f)["3166-3"]
        with open(os.path.join(share, "locale/fr/LC_MESSAGES/iso_3166-3.mo"), "rb") as f:
            fr = gettext.GNUTranslations(f)
    except (OSError, KeyError, ValueError):
        return []
    events = []
    for country in countries:
        whole = fr.gettext(country["name"])
        name = whole.split(",")[0]
        m = re.match(r"\d{4}", country.get("withdrawal_date", ""))
        if m and not re.search(r"\b(?:of|and|the)\b", whole):
            events.append((int(m.group(0)), 0, shorten("Code ISO retir\u00e9 - " + name), -1))
    return events


def french_events(src, work):
    """(year, category, label, document) of the French events: the calendar
    entries said in French, the French calendar's holidays that end with
    their year (history), the corpus's dated sentences (computing; the
    article is their own, -1 for the others)."""
    events = []
    for year, category, label in read_events(os.path.join(src, "usr/share/calendar")):
        text = french(label)
        if text:
            events.append((year, category, text, -1))
    days = ephemeris.events_by_day(os.path.join(src, "usr/share/calendar"))
    for (month, day), items in sorted(days.items()):
        for year, text in items:
            if year >= 0:
                label = text.rsplit(" ", 1)[0].replace(":", " -")
                events.append((year, 0, shorten(label), -1))
    events += withdrawn_countries(src)
    for (month, day), items in sorted(ephemeris.corpus_dates(work).items()):
        for year, text, article in items:
            # A formula or a sentence's tail makes no heading.
            if SCALE[0][0] <= year < SCALE[-1][0] and re.match(r"[A-Z\u00c0-\u00dd]", text):
                events.append((year, 3, shorten(text.replace(":", " -")), article))
    return events


def choose(events):
    """A few hundred events, every one up to 1850 and every dated sentence of
    the corpus kept (but those that find no free row), the others thinned
    evenly."""
    events = sorted(set(events))
    dense = [e for e in events if e[0] <= 1850 or e[3] >= 0]
    rest = [e for e in events if not (e[0] <= 1850 or e[3] >= 0)]
    room = max(EVENTS_WANTED - len(dense), 0)
    step = max(len(rest) / room, 1) if room else len(rest) + 1
    picked = [rest[int(i * step)] for i in range(min(room, len(rest)))]
    return sorted(dense + picked)


def article_of(label, index):
    """The first document that a search for the label's words finds (every word,
    then its two longest ones), or -1."""
    keys = searches.keys_of(label)
    for wanted in (keys, sorted(keys, key=len, reverse=True)[:2]):
        found = set(index.get(wanted[0], {})) if wanted else set()
        for key in wanted[1:]:
            found &= set(index.get(key, {}))
        if found:
            return min(found)
    return -1


def place_rows(chosen):
    """Rows spread so that a label starts after the previous one of its row
    ends; None for an event that finds no free row of its band."""
    ends = {}
    rows = []
    for year, category, label, *_ in chosen:
        x = year_pos(year)
        free = [r for r in range(ROWS) if ends.get((category, r), -1) < x]
        row = free[0] if free else None
        if free:
            ends[(category, row)] = x + PICTURE_PX + CHAR_PX * len(label)
        rows.append(row)
    return rows


def pictures(src, folder, count=BAND_PICTURES, last=False):
    """A few sample images (the first or the last `count` in name order) as
    small 24-bit BMP files; their count."""
    found = []
    for root, _, files in os.walk(os.path.join(src, "usr/share/gimp")):
        found += [os.path.join(root, f) for f in files if f.endswith(".jpg")]
    found = sorted(found)
    found = found[-count:] if last else found[:count]
    os.makedirs(folder, exist_ok=True)
    for n, path in enumerate(found):
        image = Image.open(path).convert("RGB")
        image.thumbnail((96, 64))
        image.save(os.path.join(folder, "%d.bmp" % n), "BMP")
    return len(found)


def theme_tree(count):
    """The theme tree: a line per theme, its depth in leading TABs, its LNK
    record after '#' (none for a heading):
        Th\u00e8mes
        <TAB>Histoire#0
    """
    lines = ["Tous les th\u00e8mes"] + ["\t%s#%d" % (t, i) for i, t in enumerate(THEMES) if i < count]
    return "\n".join(lines)


def write(work, name, records):
    with open(os.path.join(work, name + ".txt"), "wb") as f:
        f.write(b"\f".join(cp1252(r) for r in records))


def main():
    src, work = sys.argv[1], sys.argv[2]
    out = os.path.join(work, "chrono")
    os.makedirs(out, exist_ok=True)
    chosen = choose(french_events(src, work))
    rows = place_rows(chosen)
    chosen, rows = [e for e, r in zip(chosen, rows) if r is not None], [r for r in rows if r is not None]
    index = searches.load(work)
    # The first four headings are the fixtures the application's tests read.
    headings = ["a\t\t1\t1", "b\t\t2\t2", "c\t\t3\t3", "Premier \u00e9v\u00e9nement\tx\t1900\t12"]
    lines, by_year, themes, keywords = [], {}, [[] for _ in THEMES], {}
    for (year, category, label, own), row in zip(chosen, rows):
        doc = own if own >= 0 else article_of(label, index)
        record = len(headings)
        slot = len(by_year.setdefault(year, []))
        headings.append("%s\t%s\t%d\t%d" % (doc if doc >= 0 else "", label, year, slot))
        themes[category].append(record)
        for word in set(re.findall(r"[A-Z][a-z]{4,}", label)):
            keywords.setdefault(word, []).append(record)
        by_year[year].append("%d|%d|%d|%d|0|%s|%s" % (year, category, record, row, label,
                                                        doc if doc >= 0 else ""))
    lines = ["\t".join(by_year[y]) for y in sorted(by_year)]
    lists = themes + [keywords[k] for k in sorted(keywords) if len(keywords[k]) > 1]
    links = ["%d:%d:%s" % (len(l), max(l), ",".join(map(str, l))) for l in lists]
    count = pictures(src, os.path.join(out, "bmp"))
    scale = "".join("%d\t%d\n" % s for s in SCALE)
    periods = "".join("%d\t%s\n" % p for p in PERIODS)
    band_years = [1000, 1450, 1610, 1700, 1760, 1789, 1800, 1848, 1880, 1920, 1969, 2000]
    band = "".join("%d,%d,%d,%d\n" % (y, i % max(count, 1), i % 3, 1) for i, y in enumerate(band_years))
    write(out, "hdg", headings)
    write(out, "lnk", links)
    write(out, "events", lines)
    write(out, "scale", [scale, periods])
    write(out, "bkgnd", [band])
    write(out, "thm", [theme_tree(len(links))])
    # The keyword index: each keyword with a list of its own, "KEY TAB Keyword#<LNK record>".
    keyed = [k for k in sorted(keywords) if len(keywords[k]) > 1]
    with open(os.path.join(out, "motscles.txt"), "wb") as f:
        f.write(b"".join(cp1252("%s\t%s#%d\n" % (k.upper(), k, len(THEMES) + i)) for i, k in enumerate(keyed)))
    with open(os.path.join(out, "bmp.txt"), "w") as f:
        f.write(str(count))
    print("chrono: %d events on %d lines, %d headings, %d lists, %d pictures, %d with an article"
          % (len(chosen), len(lines), len(headings), len(links), count,
             sum(1 for h in headings[4:] if not h.startswith("\t"))))


if __name__ == "__main__":
    main()
