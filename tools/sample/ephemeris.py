#!/usr/bin/env python3
"""The sample ephemeris: French dated texts become the day records and event
texts of the ephemeris base, written under WORK/ephem for samplebase.

Usage: ephemeris.py SRC WORK

A day's events, at most three, in this order:
  - the corpus's own dated facts: a sentence of an article naming a whole
    French date ("le 25 décembre 2000"), with that year, the article first;
  - the French calendar's holiday of the day (calendar package,
    fr_FR/calendar.jferies), its year when its text ends with one;
  - the French calendar's proverb of the day (fr_FR/calendar.proverbes).
An event without a year has the year -1 (the screen then shows none).

Files (records separated by a form feed, Windows-1252):
  days.txt   372 records, day index (month-1)*31 + (day-1); each the day's
             events joined by ",", an event
               year : text record : article : picture : related doc ...
             with the picture as an index among bmp/<n>.bmp (samplebase turns
             it into its record of GLB:DOCVIG); "" for a day without events
  texts.txt  the event texts in slash markup; the day's first event starts
             with the French calendar's saint of the day
  bmp/<n>.bmp, bmp.txt   the pictures and their count
"""
import os
import re
import sys

import chrono
import corpus
import searches

SOURCES = ["fr_FR/calendar.jferies", "fr_FR/calendar.proverbes"]
FRENCH_MONTHS = ["janvier", "f\u00e9vrier", "mars", "avril", "mai", "juin", "juillet", "ao\u00fbt", "septembre",
                 "octobre", "novembre", "d\u00e9cembre"]
FRENCH_DATE = re.compile(r"\b(1er|[12]?\d|3[01]) (%s) (1[5-9]\d\d|20\d\d)\b" % "|".join(FRENCH_MONTHS))
LABEL_MOST = 90
PER_DAY = 3
RELATED = 6
PICTURES = 4
MONTHS = {m: i + 1 for i, m in enumerate("Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split())}
DATE = re.compile(r"^(?:(\d\d)/(\d\d)|([A-Z][a-z]{2}) (\d\d))\t(.*)$")


def dated_lines(path):
    """(month, day, text) of each dated line, continuation lines joined."""
    out = []
    if not os.path.exists(path):
        return out
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            m = DATE.match(line)
            if m:
                month = int(m.group(1)) if m.group(1) else MONTHS.get(m.group(3), 0)
                day = int(m.group(2) or m.group(4))
                out.append([month, day, m.group(5).strip()])
            elif line.startswith("\t") and out:
                out[-1][2] += " " + line.strip()
    return [(mo, d, " ".join(t.split())) for mo, d, t in out if 1 <= mo <= 12 and 1 <= d <= 31]


def plain_lines(markup):
    """The text lines of an article's slash markup: codes, link targets and pictures left out."""
    out = []
    for line in markup.split(b"\n"):
        line = re.sub(rb"\{B-1#[^}]*\}", b"", line)
        line = re.sub(rb"\{@[^@]*@(?:/M/1)?", b"", line)
        line = re.sub(rb"(?<!\\)#[^}]*\}", b"", line)
        line = re.sub(rb"(?<!\\)/[A-Z]", b"", line)
        line = re.sub(rb"\\(.)", rb"\1", line)
        out.append(" ".join(line.decode("cp1252", "replace").split()))
    return out


def corpus_dates(work):
    """(month, day) -> [(year, sentence, article)]: the articles' sentences that
    name a whole French date, each sentence once, in the articles' order."""
    days, seen = {}, set()
    try:
        with open(os.path.join(work, "articles.dat"), "rb") as f:
            data = f.read()
    except OSError:
        return days
    at = n = 0
    while at < len(data):
        nl = data.find(b"\n", at)
        fields = data[at:nl].split(b"\t") if nl >= 0 else []
        if len(fields) != 4:
            break
        lt, le, lm = (int(x) for x in fields[1:])
        markup = data[nl + 1 + lt + le:nl + 1 + lt + le + lm]
        for line in plain_lines(markup):
            for sentence in re.split(r"(?<=[.;!?])\s+", line):
                m = FRENCH_DATE.search(sentence)
                if not m or sentence in seen:
                    continue
                seen.add(sentence)
                day = 1 if m.group(1) == "1er" else int(m.group(1))
                month = FRENCH_MONTHS.index(m.group(2)) + 1
                label = chrono.shorten(sentence.rstrip(" .;"), LABEL_MOST)
                days.setdefault((month, day), []).append((int(m.group(3)), label, n))
        at = nl + 1 + lt + le + lm
        n += 1
    return days


def events_by_day(folder):
    """(month, day) -> [(year, text)] of the French calendar files in their
    order; the year ends the text ("Armistice 1918") or is -1."""
    days = {}
    for name in SOURCES:
        for month, day, text in dated_lines(os.path.join(folder, name)):
            m = re.search(r"\b(1[0-9]\d\d|20\d\d)$", text)
            days.setdefault((month, day), []).append((int(m.group(1)) if m else -1, text))
    return days


def saints(folder):
    """(month, day) -> the first line of the French calendar's feasts for the day."""
    out = {}
    for month, day, text in dated_lines(os.path.join(folder, "fr_FR", "calendar.fetes")):
        out.setdefault((month, day), text)
    return out


def documents_of(label, index):
    """The articles that a search for every main word of the label finds,
    else for its two longest words, else for its longest word that finds
    any; at most RELATED."""
    keys = searches.keys_of(label)
    longest = sorted((k for k in keys if len(k) > 3), key=len, reverse=True)
    for wanted in [keys, longest[:2]] + [[k] for k in longest]:
        found = set(index.get(wanted[0], {})) if wanted else set()
        for key in wanted[1:]:
            found &= set(index.get(key, {}))
        if found:
            return sorted(found)[:RELATED]
    return []


def markup(text):
    return corpus.escape(corpus.to_cp1252(text, corpus.Counter()))


def main_with(src, work):
    calendar = os.path.join(src, "usr/share/calendar")
    out = os.path.join(work, "ephem")
    os.makedirs(out, exist_ok=True)
    index = searches.load(work)
    dated, days, feasts = corpus_dates(work), events_by_day(calendar), saints(calendar)
    count = chrono.pictures(src, os.path.join(out, "bmp"), PICTURES, last=True)
    records, texts, events, with_docs = [], [], 0, 0
    for slot in range(372):
        month, day = slot // 31 + 1, slot % 31 + 1
        items = []
        facts = [(year, label, [n]) for year, label, n in dated.get((month, day), [])]
        calendar_days = [(year, label, []) for year, label in days.get((month, day), [])]
        chosen = (facts + calendar_days)[:PER_DAY]
        # A day with nothing else has its saint for event.
        saint_only = not chosen and (month, day) in feasts
        if saint_only:
            chosen = [(-1, feasts[(month, day)], [])]
        for k, (year, label, own) in enumerate(chosen):
            docs = own + [d for d in documents_of(label, index) if d not in own][:RELATED - len(own)]
            # The event's article: its own or its first found document, else the first article.
            article = docs[0] if docs else 0
            # Each text names its date or year itself, or has none.
            text = b"/A" + markup(label)
            if k == 0 and (month, day) in feasts and not saint_only:
                text = b"/B" + markup(feasts[(month, day)]) + b"\n" + text
            picture = (slot + k) % count if count else -1
            items.append(":".join(str(v) for v in [year, len(texts), article, picture] + docs[1:]))
            texts.append(text)
            events += 1
            with_docs += 1 if docs else 0
        records.append(",".join(items).encode("ascii"))
    with open(os.path.join(out, "days.txt"), "wb") as f:
        f.write(b"\f".join(records))
    with open(os.path.join(out, "texts.txt"), "wb") as f:
        f.write(b"\f".join(texts) if texts else b"")
    with open(os.path.join(out, "bmp.txt"), "w") as f:
        f.write(str(count))
    print("ephemeris: %d events on %d days, %d with documents, %d pictures"
          % (events, sum(1 for r in records if r), with_docs, count))


if __name__ == "__main__":
    main_with(sys.argv[1], sys.argv[2])
