#!/usr/bin/env python3
"""Checks the phonetic matcher against espeak-ng's French phonemes.

Test tool only: never part of the product. Needs espeak-ng and the wfrench
word list (/usr/share/dict/french, UTF-8), and bench_phon.exe under Wine.

  phon_oracle.py sample              writes the committed test sample and
                                     sound-alike pairs (tests/search/engine/phon/)
  phon_oracle.py compare BUILD [N]   agreement over N words of the list (all
                                     when N is left out); disagreements go to
                                     /tmp/phon_disagree.txt
  phon_oracle.py misspell WORK       writes 100 misspellings of the sample's
                                     words (WORK: build/sample-work) that
                                     espeak-ng reads as the word
                                     (tests/app/phon/)
  phon_oracle.py exceptions TOTAL    fills the exception dictionary up to TOTAL
                                     words from the disagreements of a full
                                     compare, keeping every entry it holds and
                                     leaving out the words of the test data

espeak-ng's symbols map to the matcher's normalised alphabet as follows
(stress and pause marks ' , - _ | : dropped, then doubled letters made single
as the matcher's scoring does):
  A~ a~   E~ e~   W~ e~   O~ o~   (nasal vowels; "un" reads as "in")
  A a     E e     O o     (open and closed vowels are not told apart)
  @ 2     W 2     Y 2     9 2     (schwa and rounded front vowels)
  R r     n^ nj   I i     U u     V 2     (loan-word vowels)
  a e i o u y j w S Z N and the consonant letters stand for themselves.
"""
import os
import random
import re
import subprocess
import sys
import tempfile

WORDLIST = "/usr/share/dict/french"
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "tests", "search", "engine", "phon")
SEED = 1815
SAMPLE_SIZE = 2000
PAIR_COUNT = 500

MULTI = [("A~", "a~"), ("E~", "e~"), ("W~", "e~"), ("O~", "o~"), ("n^", "nj")]
SINGLE = {"A": "a", "E": "e", "O": "o", "@": "2", "W": "2", "Y": "2", "9": "2",
          "R": "r", "I": "i", "U": "u", "V": "2"}
DROPPED = set("',-_|:%=")
ALPHABET = set("abdefgijklmnoprstuvwyz2SZN~")


def collapse(text):
    """Doubled letters made single, as the matcher's scoring does."""
    out = []
    for i, c in enumerate(text):
        nxt = text[i + 1] if i + 1 < len(text) else ""
        if out and out[-1] == c and nxt != "~":
            continue
        out.append(c)
    return "".join(out)


def map_espeak(phonemes):
    """espeak-ng's phonemes in the matcher's alphabet, or None when unusable."""
    if "(" in phonemes:  # a switch to another language's voice
        return None
    out = []
    i = 0
    while i < len(phonemes):
        pair = phonemes[i:i + 2]
        hit = next((m for s, m in MULTI if s == pair), None)
        if hit:
            out.append(hit)
            i += 2
            continue
        c = phonemes[i]
        i += 1
        if c in DROPPED:
            continue
        out.append(SINGLE.get(c, c))
    text = collapse("".join(out))
    return text if text and set(text) <= ALPHABET else None


def load_words():
    words = []
    with open(WORDLIST, encoding="utf-8") as f:
        for line in f:
            w = line.strip()
            if not w or not re.fullmatch(r"[a-zàâäçéèêëîïôöùûüÿœæ-]+", w):
                continue
            try:
                w.encode("cp1252")
            except UnicodeEncodeError:
                continue
            words.append(w)
    return words


def espeak(words):
    out = subprocess.run(["espeak-ng", "-v", "fr", "-q", "-x"], input="\n".join(words) + "\n",
                         capture_output=True, text=True, check=True).stdout.splitlines()
    if len(out) != len(words):
        sys.exit("espeak-ng answered %d lines for %d words" % (len(out), len(words)))
    return {w: map_espeak(p.strip()) for w, p in zip(words, out)}


def matcher(build, words):
    """The matcher's best readings of each word, through bench_phon --dump."""
    with tempfile.NamedTemporaryFile("wb", suffix=".txt", delete=False) as f:
        f.write(("\n".join(words) + "\n").encode("cp1252"))
        path = f.name
    exe = os.path.join(build, "bench", "bench_phon.exe")
    env = dict(os.environ, WINEDEBUG="-all")
    out = subprocess.run(["wine", exe, "--dump", "Z:" + path], capture_output=True, env=env, check=True).stdout
    os.unlink(path)
    result = {}
    for line in out.decode("cp1252").splitlines():
        word, _, readings = line.partition("\t")
        result[word] = readings.split()
    return result


def c_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def write_sample():
    words = load_words()
    rng = random.Random(SEED)
    oracle = espeak(words)
    usable = [w for w in words if oracle[w]]
    sample = sorted(rng.sample(usable, SAMPLE_SIZE))
    with open(os.path.join(DATA, "PhonSample.inc"), "w", encoding="utf-8") as f:
        f.write("// Generated by tools/phon_oracle.py: %d words of wfrench with espeak-ng's reading\n"
                "// mapped to the matcher's alphabet. UTF-8, compiled as Windows-1252.\n" % SAMPLE_SIZE)
        for w in sample:
            f.write("{%s, %s},\n" % (c_string(w), c_string(oracle[w])))
    # Sound-alike pairs: two spellings with one reading that share fewer than
    # five leading letters, so that forms of one verb ("parlait"/"parlé") do not
    # fill the list.
    by_sound = {}
    for w in usable:
        by_sound.setdefault(oracle[w], []).append(w)
    pairs = []
    for sound, group in by_sound.items():
        for a in group:
            for b in group:
                if a < b and len(os.path.commonprefix([a, b])) < 5:
                    pairs.append((a, b))
    pairs = sorted(rng.sample(sorted(pairs), PAIR_COUNT))
    with open(os.path.join(DATA, "PhonPairs.inc"), "w", encoding="utf-8") as f:
        f.write("// Generated by tools/phon_oracle.py: %d pairs of wfrench words that espeak-ng\n"
                "// reads alike. UTF-8, compiled as Windows-1252.\n" % PAIR_COUNT)
        for a, b in pairs:
            f.write("{%s, %s},\n" % (c_string(a), c_string(b)))
    print("sample: %d words, pairs: %d of %d" % (len(sample), len(pairs), len(pairs)))


def compare(build, limit):
    words = load_words()
    if limit:
        words = sorted(random.Random(SEED + 1).sample(words, limit))
    oracle = espeak(words)
    words = [w for w in words if oracle[w]]
    ours = matcher(build, words)
    any_best = first = 0
    with open("/tmp/phon_disagree.txt", "w", encoding="utf-8") as f:
        for w in words:
            readings = ours.get(w, [])
            if readings and readings[0] == oracle[w]:
                first += 1
            if oracle[w] in readings:
                any_best += 1
            else:
                f.write("%s\t%s\t%s\n" % (w, oracle[w], " ".join(readings)))
    n = len(words)
    print("words: %d, oracle among the best readings: %.1f%%, first reading: %.1f%%"
          % (n, 100.0 * any_best / n, 100.0 * first / n))


EXCEPTIONS = os.path.join(ROOT, "search", "engine", "phon", "KyPhonExceptions.inc")
ENTRY = re.compile(r'^\{"((?:[^"\\]|\\.)*)", "((?:[^"\\]|\\.)*)"\},$')
# Word endings of verb forms and plurals: their base word is the better exception.
INFLECTED = re.compile(r"(ai|ais|ait|as|ât|âmes|âtes|èrent|erai|eras|era|erez|erons|eront|erais|erait|"
                       r"eriez|erions|eraient|ions|iez|ons|ez|ent|aient|asse|asses|assent|assiez|assions|"
                       r"ées|és|ée|ît|îmes|îtes|isse|isses|issent|issiez|issions|irent|es|s)$")


def fill_exceptions(total):
    """Short uninflected words first: the oracle's reading becomes the exception."""
    header, entries = [], {}
    with open(EXCEPTIONS, encoding="utf-8") as f:
        for line in f:
            m = ENTRY.match(line.strip())
            if m:
                entries[m.group(1)] = m.group(2)
            elif not entries:
                header.append(line)
    test_words = set()
    for name in ("PhonSample.inc", "PhonPairs.inc"):
        with open(os.path.join(DATA, name), encoding="utf-8") as f:
            test_words |= set(re.findall(r'"([^"]*)"', f.read()))
    found = []
    with open("/tmp/phon_disagree.txt", encoding="utf-8") as f:
        for line in f:
            word, reading, _ = line.rstrip("\n").split("\t")
            if (word in entries or word in test_words or len(word) < 3 or "-" in word
                    or INFLECTED.search(word) or not re.search(r"[aeiouyéèêàâîôû]", word)
                    or len(reading) > len(word) + 1):
                continue
            found.append((len(word), word, reading))
    for _, word, reading in sorted(found)[:max(0, total - len(entries))]:
        entries[word] = reading
    with open(EXCEPTIONS, "w", encoding="utf-8") as f:
        f.writelines(header)
        for word in sorted(entries, key=lambda w: w.encode("cp1252")):
            f.write("{%s, %s},\n" % (c_string(word), c_string(entries[word])))
    print("exceptions: %d" % len(entries))


# Spelling changes that keep a French reading: pattern, replacement.
MISSPELLINGS = [
    (r"c(?=[aou])", "k"), (r"qu", "k"), (r"ph", "f"), (r"eau", "o"), (r"au", "o"), (r"ce", "sse"),
    (r"ci", "ssi"), (r"(?<=[aeiou])s(?=[aeiou])", "z"), (r"ge", "je"), (r"gi", "ji"), (r"tion", "ssion"),
    (r"ai", "e"), (r"er$", "ez"), (r"(?<=[aeiou])ss(?=[aeiou])", "c"), (r"y", "i"), (r"an", "en"),
    (r"ill", "ye"), (r"k", "c"), (r"mm", "m"), (r"ll", "l"), (r"tt", "t"), (r"nn", "n"), (r"pp", "p"),
]
MISSPELL_COUNT = 100


def write_misspellings(work):
    """Misspellings of the sample's words that espeak-ng reads as the word."""
    keys = []
    with open(os.path.join(work, "words.txt"), "rb") as f:
        previous = None
        for line in f:
            key = line.split(b"\t", 1)[0].decode("cp1252")
            if key != previous and re.fullmatch(r"[a-z]{5,}", key):
                keys.append(key)
            previous = key
    # A misspelling must be no French word: the list is the system's or the sample's copy.
    global WORDLIST
    if not os.path.exists(WORDLIST):
        WORDLIST = os.path.join(work, "..", "sample-src", "usr", "share", "dict", "french")
    known = set(keys) | set(load_words())
    rng = random.Random(SEED)
    candidates = []
    for word in keys:
        for pattern, replacement in MISSPELLINGS:
            typo = re.sub(pattern, replacement, word, count=1)
            if typo != word and typo not in known:
                candidates.append((typo, word))
                break
    candidates = rng.sample(candidates, min(len(candidates), 20 * MISSPELL_COUNT))
    oracle = espeak(sorted({w for pair in candidates for w in pair}))
    pairs = [(t, w) for t, w in candidates if oracle[t] and oracle[t] == oracle[w]]
    pairs = sorted(pairs[:MISSPELL_COUNT])
    path = os.path.join(ROOT, "tests", "app", "phon", "SoundAlikeMisspellings.inc")
    with open(path, "w", encoding="utf-8") as f:
        f.write("// Generated by tools/phon_oracle.py misspell: %d misspellings of the sample's\n"
                "// words that espeak-ng reads as the word. ASCII.\n" % len(pairs))
        for typo, word in pairs:
            f.write("{%s, %s},\n" % (c_string(typo), c_string(word)))
    print("misspellings: %d of %d candidates" % (len(pairs), len(candidates)))


def main():
    if sys.argv[1:2] == ["sample"]:
        write_sample()
        return
    if sys.argv[1:2] == ["misspell"] and len(sys.argv) > 2:
        write_misspellings(sys.argv[2])
        return
    if len(sys.argv) < 3 or sys.argv[1] not in ("compare", "exceptions"):
        sys.exit(__doc__)
    if sys.argv[1] == "exceptions":
        fill_exceptions(int(sys.argv[2]))
    else:
        compare(sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 0)


if __name__ == "__main__":
    main()
