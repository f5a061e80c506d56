#!/usr/bin/env python3
"""Writes the sample's dictionary for our dictionary library (platform/dico).

From Debian's mythes-fr thesaurus (UTF-8: a line "word|n", then n lines
"(category)|synonym|synonym...") and wfrench word list (one word a line),
writes into WORK/dico, in Windows-1252:

  dictionnaire.txt  one sense a line: word TAB category TAB synonym|synonym|...
  lexique.txt       the word list, one word a line

Words or synonyms that Windows-1252 cannot write are left out; headwords are
kept only when the word list has them, at most MAX_WORDS of them.
Run: dico.py SRC WORK
"""
import os
import sys

MAX_WORDS = 40000


def cp1252(text):
    try:
        text.encode("cp1252")
        return True
    except UnicodeEncodeError:
        return False


def main(src, work):
    words_path = os.path.join(src, "usr/share/dict/french")
    thes_path = os.path.join(src, "usr/share/mythes/th_fr_FR_v2.dat")
    out = os.path.join(work, "dico")
    os.makedirs(out, exist_ok=True)
    with open(words_path, encoding="utf-8", errors="replace") as f:
        words = [w.strip() for w in f if w.strip() and cp1252(w.strip())]
    lexicon = set(w.lower() for w in words)
    lines, kept = [], 0
    with open(thes_path, encoding="utf-8", errors="replace") as f:
        f.readline()  # the encoding line
        while kept < MAX_WORDS:
            head = f.readline()
            if not head:
                break
            word, _, count = head.rstrip("\n").partition("|")
            senses = [f.readline().rstrip("\n") for _ in range(int(count or 0))]
            if word.lower() not in lexicon or not cp1252(word):
                continue
            for sense in senses:
                category, _, rest = sense.partition("|")
                synonyms = [s for s in rest.split("|") if s and cp1252(s) and "\t" not in s]
                if synonyms and cp1252(category):
                    lines.append(f"{word}\t{category}\t{'|'.join(synonyms)}")
            kept += 1
    with open(os.path.join(out, "dictionnaire.txt"), "w", encoding="cp1252", newline="\r\n") as f:
        f.write("# word, category, synonyms (from mythes-fr)\n")
        f.write("\n".join(lines) + "\n")
    with open(os.path.join(out, "lexique.txt"), "w", encoding="cp1252", newline="\r\n") as f:
        f.write("\n".join(words) + "\n")
    print(f"dico: {kept} words, {len(lines)} senses, lexicon of {len(words)} words")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
