#!/usr/bin/env python3
"""The sample ephemeris: the dated events of the calendar's history and music
files become the day records and event texts of the ephemeris base, written
under WORK/ephem for samplebase.

Usage: ephemeris.py SRC WORK

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

SOURCES = ["calendar.history", "calendar.music"]
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


def events_by_day(folder):
    """(month, day) -> [(year, text)] in the files' order, texts ending with their year."""
    days = {}
    for name in SOURCES:
        for month, day, text in dated_lines(os.path.join(folder, name)):
            m = chrono.YEAR_AT_END.match(text)
            if m and not m.group(3):
                label = m.group(1).rstrip(" ,(").strip()
                if label:
                    days.setdefault((month, day), []).append((int(m.group(2)), label))
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
    days, feasts = events_by_day(calendar), saints(calendar)
    count = chrono.pictures(src, os.path.join(out, "bmp"), PICTURES, last=True)
    records, texts, events, with_docs = [], [], 0, 0
    for slot in range(372):
        month, day = slot // 31 + 1, slot % 31 + 1
        items = []
        for k, (year, label) in enumerate(days.get((month, day), [])[:PER_DAY]):
            docs = documents_of(label, index)
            # The event's article: its first found document, else the first article.
            article = docs[0] if docs else 0
            text = b"/A" + markup(label + ", " + str(year))
            if k == 0 and (month, day) in feasts:
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
