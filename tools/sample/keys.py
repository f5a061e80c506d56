#!/usr/bin/env python3
"""Lists what the reader's code asks the installation for by name.

keys.py ROOT OUT_FILE scans the reader's sources (not the tests, not the
tools) and writes one line per name, "kind TAB name TAB file:line", which
`samplebase check OUT KEYS` looks up in the mounted descriptor:

  str     a configuration key or message (user string)
  prefix  a key read as this prefix and a run-time suffix: some key starts so
  table   a "BASE:TABLE" the code opens by name
  lex     a lexicon opened by name
  file    a file registered under a key
  filter  a filter registered under a key
  path    a path variable
"""
import os
import re
import sys

# The engines below them read the descriptor by the names they are given.
FOLDERS = ["app", "panes", "web", "platform", "framework", "docengine"]

KEY = r'"([A-Z][A-Z0-9_]{2,})"'
# Calls whose literal arguments are configuration keys or messages.
STRING_CALLS = re.compile(r"\b(?:configString|configMessage|getString|getMessage|message|tell|childPath|"
                          r"templatePath|findTemplateFile|makeMediaPage|fillVideoTemplate)\(\s*" + KEY +
                          r'(?:\s*,\s*' + KEY + r')?')
OTHER_CALLS = [
    ("lex", re.compile(r"\b(?:openIndex|openIndexList|openList|loadWordList|acquireIndex)\(\s*" + KEY)),
    ("file", re.compile(r"\bgetFile\(\s*" + KEY)),
    ("filter", re.compile(r"\bgetFilter\(\s*" + KEY)),
    ("path", re.compile(r"\b(?:getPathSpec|getPathValue)\(\s*" + KEY)),
]
# Messages are read through tables as often as through calls: every literal of the family counts.
MESSAGES = re.compile(r'"((?:MSG|DLG)_[A-Z0-9_]+)"')
# The rooms' movie keys are returned by a switch; their titles are read with a "W" ahead.
ROOM_MOVIES = re.compile(r'"(SALLE_[A-Z_]*[A-Z])"')
ROOM_TITLES = re.compile(r'"(SALLE_[A-Z_]+_TITLE)"')
# A key built at run time: literal prefixes joined by "+" before a variable part.
PREFIX = re.compile(r'"([A-Z][A-Z0-9_]*_)"\)?\s*\+\s*(?:"([A-Z][A-Z0-9_]*_)"\s*\+\s*)?[A-Za-z(]')
TABLE = re.compile(r'"([A-Z]{2,}:[A-Z0-9]{2,})"')


def scan_line(text):
    """The (kind, name) pairs one line of code asks for."""
    found = []
    for m in STRING_CALLS.finditer(text):
        found += [("str", k) for k in m.groups() if k]
    for kind, pattern in OTHER_CALLS:
        found += [(kind, k) for k in pattern.findall(text)]
    found += [("str", k) for k in MESSAGES.findall(text)]
    found += [("str", k) for k in ROOM_MOVIES.findall(text) if not k.endswith("_TITLE")]
    found += [("str", "W" + k) for k in ROOM_TITLES.findall(text)]
    for m in PREFIX.finditer(text):
        found.append(("prefix", m.group(1) + (m.group(2) or "")))
    # A table list "A:B,C:D" names each table; the literal is one of them.
    for m in re.finditer(r'"([A-Z]{2,}:[A-Z0-9]{2,}(?:,[A-Z]{2,}:[A-Z0-9]{2,})*)"', text):
        found += [("table", t) for t in m.group(1).split(",")]
    return found


def scan(root):
    """Every (kind, name) with the first place that asks for it, sorted."""
    seen = {}
    for folder in FOLDERS:
        for top, _dirs, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(top, name)
                with open(path, encoding="cp1252", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        code = line.split("//", 1)[0]
                        for item in scan_line(code):
                            seen.setdefault(item, "%s:%d" % (os.path.relpath(path, root), number))
    return sorted(seen.items())


def main():
    root, out = sys.argv[1], sys.argv[2]
    items = scan(root)
    text = "".join("%s\t%s\t%s\n" % (kind, name, where) for (kind, name), where in items)
    tmp = out + ".tmp"
    with open(tmp, "w", encoding="ascii") as f:
        f.write(text)
    os.replace(tmp, out)
    print("keys: %d names the reader asks for" % len(items))


if __name__ == "__main__":
    main()
