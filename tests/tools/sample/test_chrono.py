"""The sample chronology: years read from the ends of calendar entries, the
scale's positions, and rows spread so that labels of a band do not meet."""
import os
import tempfile
import unittest

import chrono
import searches


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
