"""The sample chronology: years read from the ends of calendar entries, the
scale's positions, and rows spread so that labels of a band do not meet."""
import json
import os
import struct
import tempfile
import unittest

import chrono
import searches


def write_mo(path, messages):
    """A gettext catalogue holding the messages, in UTF-8."""
    messages = dict(messages, **{"": "Content-Type: text/plain; charset=UTF-8\n"})
    keys = sorted(messages)
    ids = b"".join(k.encode() + b"\0" for k in keys)
    strs = b"".join(messages[k].encode() + b"\0" for k in keys)
    start = 28 + 16 * len(keys)
    table, offset = [], start
    for k in keys:
        table.append((len(k.encode()), offset))
        offset += len(k.encode()) + 1
    values = []
    for k in keys:
        values.append((len(messages[k].encode()), offset))
        offset += len(messages[k].encode()) + 1
    with open(path, "wb") as f:
        f.write(struct.pack("<7I", 0x950412de, 0, len(keys), 28, 28 + 8 * len(keys), 0, 0))
        for length, at in table + values:
            f.write(struct.pack("<2I", length, at))
        f.write(ids + strs)


class ChronoTest(unittest.TestCase):
    def test_years_end_the_entries_and_continuations_join(self):
        text = ("01/10\tThomas Paine's Common Sense published, 1776\n"
                "01/25\tThe Constitutional Act of 1791 splits\n"
                "\tthe old province of Quebec, 1791\n"
                "03/21\tJohann Sebastian Bach born (1685)\n"
                "04/01\tBattle of Marathon, 490 B.C.\n"
                "05/01\tNo year here\n"
                "06/01\tA pipe | in the text, 1800\n"
                "07/14\tA colon: cut, 1789\n")
        with tempfile.TemporaryDirectory() as folder:
            with open(os.path.join(folder, "calendar.history"), "w") as f:
                f.write(text)
            events = chrono.read_events(folder)
        self.assertEqual([
            (1776, 0, "Thomas Paine's Common Sense published"),
            (1791, 0, "The Constitutional Act of 1791 splits the..."),
            (1685, 0, "Johann Sebastian Bach born"),
            (-490, 0, "Battle of Marathon"),
            (1789, 0, "A colon - cut"),
        ], events)

    def test_entries_about_a_name_are_said_in_french_and_the_others_left_out(self):
        rows = [
            ("Jakob Grimm born", "Naissance de Jakob Grimm"),
            ("Isaac Asimov born in Petrovichi, Russian SFSR", "Naissance d'Isaac Asimov"),
            ("Martin Luther King, Jr. born", "Naissance de Martin Luther King, Jr."),
            ("Ludwig van Beethoven dies", "Mort de Ludwig van Beethoven"),
            ("Battle of Hastings", "Bataille de Hastings"),
            ("Mohandas Gandhi assassinated in New Delhi", "Assassinat de Mohandas Gandhi"),
            ("Richard The Lionheart crowned", None),          # an English word in the name
            ("US President Abraham Lincoln dies", None),
            ("Battle of the Bulge", None),                    # a lower-case English word
            ("The Beatles play their last concert", None),
            ("Thomas Paine's Common Sense published", None),
        ]
        for english, french in rows:
            with self.subTest(english=english):
                self.assertEqual(french, chrono.french(english))

    def test_french_events_come_from_the_calendar_iso_codes_and_the_corpus(self):
        # The corpus's dated sentences keep their article; the others look one up.
        with tempfile.TemporaryDirectory() as src, tempfile.TemporaryDirectory() as work:
            calendar = os.path.join(src, "usr/share/calendar")
            os.makedirs(os.path.join(calendar, "fr_FR"))
            with open(os.path.join(calendar, "calendar.birthday"), "w") as f:
                f.write("01/04\tJakob Grimm born, 1785\n03/21\tThe first kite flown, 1750\n")
            with open(os.path.join(calendar, "fr_FR", "calendar.jferies"), "w") as f:
                f.write("11/11\tArmistice 1918\n12/25\tNo\u00ebl\n")
            share = os.path.join(src, "usr/share")
            os.makedirs(os.path.join(share, "iso-codes/json"))
            with open(os.path.join(share, "iso-codes/json/iso_3166-3.json"), "w") as f:
                json.dump({"3166-3": [{"name": "Upper Volta, Republic of", "withdrawal_date": "1984"},
                                      {"name": "Yugoslavia, Federal Republic of", "withdrawal_date": "2003"}]}, f)
            os.makedirs(os.path.join(share, "locale/fr/LC_MESSAGES"))
            write_mo(os.path.join(share, "locale/fr/LC_MESSAGES/iso_3166-3.mo"),
                     {"Upper Volta, Republic of": "Haute-Volta, R\u00e9publique de"})
            article = "/HDates\n/ALa version 1.0 est sortie le 5 juin 1998. =DATE(1) le 2 mai 1999.".encode("cp1252")
            with open(os.path.join(work, "articles.dat"), "wb") as f:
                f.write(b"0\t0\t0\t%d\n" % len(article) + article)
            events = chrono.french_events(src, work)
        self.assertEqual(sorted([
            (1785, 1, "Naissance de Jakob Grimm", -1),
            (1918, 0, "Armistice", -1),
            (1984, 0, "Code ISO retir\u00e9 - Haute-Volta", -1),
            (1998, 3, "La version 1.0 est sortie le 5 juin 1998", 0),
        ]), sorted(events))

    def test_positions_follow_the_scale(self):
        rows = [(-3000, 0), (0, 6 * 200), (1000, 6 * 200 + 10 * 200),
                (1500, 1200 + 2000 + 10 * 200), (1501, 5200 + 20), (1700, 5200 + 20 * 200)]
        for year, pos in rows:
            with self.subTest(year=year):
                self.assertEqual(pos, chrono.year_pos(year))

    def test_rows_keep_labels_of_a_band_apart(self):
        # Three long labels a year apart in one band take three rows; another
        # band starts again at row 0; a fifth label of one year finds no row;
        # a year far on reuses row 0.
        events = [(1789, 0, "x" * 100), (1790, 0, "y" * 100), (1791, 0, "z" * 100), (1791, 2, "w"),
                  (1792, 0, "a"), (1792, 0, "b"), (1850, 0, "v")]
        self.assertEqual([0, 1, 2, 0, 3, None, 0], chrono.place_rows(events))

    def test_the_article_is_what_a_search_for_the_words_finds(self):
        def key(word):
            return searches.keys_of(word)[0]
        index = {key("Suez"): {7: [0], 3: [0]}, key("Canal"): {7: [1], 9: [0]}, key("opened"): {2: [0]}}
        rows = [
            ("Suez Canal", 7),           # every word
            ("Suez Canal is dug", 7),    # not every word: the two longest
            ("Suez", 3),                 # the first document
            ("Suez Canal opened", -1),    # neither every word nor "opened" and "canal"
            ("", -1),
        ]
        for label, doc in rows:
            with self.subTest(label=label):
                self.assertEqual(doc, chrono.article_of(label, index))


if __name__ == "__main__":
    unittest.main()
