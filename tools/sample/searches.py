#!/usr/bin/python3
"""The fixed searches of the sample encyclopedia and the documents a brute-force
scan of the converted texts finds for each: the answers that the engine's
requests on the sample must give.

Usage: searches.py WORK_FOLDER   (writes WORK_FOLDER/searches.txt)

A search is written as the reader types it in the form "RECH" (operators ET,
OU, SAUF; a phrase in double quotes; "*!" ending a prefix), or, after "~", in
the form "RECHTHES" whose words are widened by their thesaurus relations. Each line of searches.txt: the search, a
tab, the count, a tab, the document numbers separated by blanks.
"""
import os
import sys

import corpus

SEARCHES = [
    "calque",
    "retouche ET photo",
    "tableau croisé",
    "\"tableau croisé\"",
    "~image",
    "pinceau OU crayon",
    "filtre SAUF flou",
    "calq*!",
    "histogramme",
    "macro ET basic",
    "\"feuille de calcul\"",
    "courbes ET couleurs",
    "imprimer OU impression",
    "fichier SAUF image",
    "sélection ET masque",
    "\"ligne de commande\"",
    "répertoire ET utilisateur",
    "transparence",
    "diapo*!",
    "~photo",
]


def load(work):
    """Key -> {document: [positions]} from the word items."""
    index = {}
    with open(os.path.join(work, "words.txt"), "rb") as f:
        for line in f:
            key, doc, pos = line.rstrip(b"\n").split(b"\t")
            index.setdefault(key, {}).setdefault(int(doc), []).append(int(pos))
    return index


def synonyms(work):
    out = {}
    with open(os.path.join(work, "thesaurus.txt"), "rb") as f:
        for line in f:
            term, _, syn = line.rstrip(b"\n").split(b"\t")
            out.setdefault(term, []).append(syn)
    return out


STOPS = set(corpus.key_of(corpus.to_cp1252(w, corpus.Counter())) for w in corpus.STOP_WORDS)


def placed_keys(text):
    """(offset, key) of the words of text that are not stop words."""
    words = corpus.words_of(corpus.to_cp1252(text, corpus.Counter()))
    return [(i, k) for i, k in enumerate(corpus.key_of(w) for w in words) if k not in STOPS]


def keys_of(text):
    return [k for _, k in placed_keys(text)]


def near(left, right, distance):
    """The request's proximity: one walk over both position lists, a pair at
    most distance words apart in either order matching; matched positions are
    kept, in the walk's order, for the next word of the chain."""
    out, i, j = [], 0, 0
    while i < len(left) and j < len(right):
        if left[i] + distance < right[j]:
            i += 1
        elif left[i] - distance > right[j]:
            j += 1
        else:
            out += [left[i]] if left[i] == right[j] else sorted((left[i], right[j]))
            i += 1
            j += 1
    return out


def phrase(index, placed):
    """A phrase is read as its words joined by PRES n, n being 1 plus the stop
    words left out between two of them (not as ordered adjacent words)."""
    if not placed:
        return set()
    found = set()
    start, first = placed[0]
    for doc, positions in index.get(first, {}).items():
        kept, last = sorted(positions), start
        for offset, k in placed[1:]:
            kept = near(kept, sorted(index.get(k, {}).get(doc, ())), offset - last)
            last = offset
        if kept:
            found.add(doc)
    return found


def term(index, thes, text):
    if text.startswith("\""):
        return phrase(index, placed_keys(text.strip("\"")))
    if text.endswith("*!"):
        prefix = keys_of(text[:-2])[0]
        return set(d for k, docs in index.items() if k.startswith(prefix) for d in docs)
    if text.startswith("~"):
        key = keys_of(text[1:])[0]
        found = set(index.get(key, {}))
        for syn in thes.get(key, []):
            found |= set(index.get(syn, {}))
        return found
    keys = keys_of(text)
    found = set(index.get(keys[0], {})) if keys else set()
    for k in keys[1:]:  # words side by side: the default operator ET
        found &= set(index.get(k, {}))
    return found


def run(index, thes, search):
    """Operators left to right: each joins what came before with the next term."""
    words = search.replace("\"", " \" ").split()
    parts, current, quoted = [], [], False
    for w in words:
        if w == "\"":
            quoted = not quoted
            current.append(w)
        elif not quoted and w in ("ET", "OU", "SAUF"):
            parts.append(" ".join(current).replace("\" ", "\"").replace(" \"", "\""))
            parts.append(w)
            current = []
        else:
            current.append(w)
    parts.append(" ".join(current).replace("\" ", "\"").replace(" \"", "\""))
    result = term(index, thes, parts[0])
    for op, text in zip(parts[1::2], parts[2::2]):
        found = term(index, thes, text)
        result = result & found if op == "ET" else result | found if op == "OU" else result - found
    return result


def main(work):
    index, thes = load(work), synonyms(work)
    lines = []
    for search in SEARCHES:
        docs = sorted(run(index, thes, search))
        lines.append("%s\t%d\t%s\n" % (search, len(docs), " ".join(map(str, docs))))
        print("searches: %-28s %6d documents" % (search, len(docs)))
    corpus.write_atomic(os.path.join(work, "searches.txt"), "".join(lines).encode("cp1252"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
