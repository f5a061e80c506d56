"""The sample ephemeris: dated lines of both date forms, the French
calendar's texts with their year when they end with one, the corpus's
sentences naming a whole French date, at most three a day with the saint of
the day first (or alone), and the day records' fields."""
import os
import tempfile
import unittest

import ephemeris


class EphemerisTest(unittest.TestCase):
    def write(self, folder, name, text):
        path = os.path.join(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)

    def test_dated_lines_read_both_date_forms_and_join_continuations(self):
        with tempfile.TemporaryDirectory() as folder:
            self.write(folder, "calendar.history",
                       "07/14\tStorming of the Bastille, 1789\n"
                       "Jul 14\tA second form,\n\tcontinued, 1790\n"
                       "13/01\tNo such month, 1800\n"
                       "LANG=UTF-8\n")
            lines = ephemeris.dated_lines(os.path.join(folder, "calendar.history"))
        self.assertEqual([(7, 14, "Storming of the Bastille, 1789"), (7, 14, "A second form, continued, 1790")], lines)

    def test_days_keep_events_with_a_year_in_the_files_order(self):
        with tempfile.TemporaryDirectory() as folder:
            self.write(folder, "fr_FR/calendar.jferies",
                       "07/14\tF\u00eate nationale fran\u00e7aise\n05/08\tArmistice 1945\n08/15\t\tAssomption\n")
            self.write(folder, "fr_FR/calendar.proverbes", "07/14\tS'il pleut,\n\til pleut.\n")
            self.write(folder, "calendar.history", "07/14\tStorming of the Bastille, 1789\n")
            self.write(folder, "fr_FR/calendar.fetes", "07/14\tBonne f\u00eate aux Camille !\n07/14\tAutre\n")
            days = ephemeris.events_by_day(folder)
            saints = ephemeris.saints(folder)
        self.assertEqual({(7, 14): [(-1, "F\u00eate nationale fran\u00e7aise"), (-1, "S'il pleut, il pleut.")],
                          (5, 8): [(1945, "Armistice 1945")], (8, 15): [(-1, "Assomption")]}, days)
        self.assertEqual({(7, 14): "Bonne f\u00eate aux Camille !"}, saints)

    def write_articles(self, work, markups):
        with open(os.path.join(work, "articles.dat"), "wb") as f:
            for n, markup in enumerate(markups):
                f.write(b"%d\t1\t0\t%d\nT" % (n, len(markup)) + markup)

    def test_sentences_naming_a_whole_french_date_are_the_corpus_facts(self):
        with tempfile.TemporaryDirectory() as work:
            self.write_articles(work, [
                b"/HA\n/ALe 1er janvier 1970 commence l'\xe9poque. Rien le 2 janvier.\n",
                b"/HB\n/APubli\xe9 le {@d1@/M/125 d\xe9" b"cembre 2000#G:3} \\/ bis ; sans date en 1999.\n"
                b"/ALe 1er janvier 1970 commence l'\xe9poque.\n",
            ])
            days = ephemeris.corpus_dates(work)
        self.assertEqual({(1, 1): [(1970, "Le 1er janvier 1970 commence l'\u00e9poque", 0)],
                          (12, 25): [(2000, "Publi\u00e9 le 25 d\u00e9" "cembre 2000 / bis", 1)]}, days)

    def test_the_day_records_name_texts_articles_pictures_and_related_documents(self):
        with tempfile.TemporaryDirectory() as src, tempfile.TemporaryDirectory() as work:
            calendar = os.path.join(src, "usr/share/calendar")
            self.write(calendar, "fr_FR/calendar.jferies", "07/14\tF\u00eate nationale de Paris\n")
            self.write(calendar, "fr_FR/calendar.fetes", "07/14\tBonne f\u00eate aux Camille !\n"
                       "01/02\tBonne f\u00eate aux Basile !\n")
            self.write_articles(work, [b"/HT\n/AUn fait du 14 juillet %d." % (1700 + n) for n in range(2)])
            # Document 3 holds "paris", document 5 "juillet".
            with open(os.path.join(work, "words.txt"), "wb") as f:
                f.write(b"paris\t3\t1\njuillet\t5\t1\n")
            ephemeris.main_with(src, work)
            with open(os.path.join(work, "ephem", "days.txt"), "rb") as f:
                days = f.read().split(b"\f")
            with open(os.path.join(work, "ephem", "texts.txt"), "rb") as f:
                texts = f.read().split(b"\f")
        self.assertEqual(372, len(days))
        events = [e.split(b":") for e in days[6 * 31 + 13].split(b",")]
        # The corpus's facts first, their article first and the search's documents after it; then the holiday.
        self.assertEqual([[b"1700", b"1", b"0", b"-1", b"5"], [b"1701", b"2", b"1", b"-1", b"5"],
                          [b"-1", b"3", b"3", b"-1"]], events)
        self.assertEqual(b"/BBonne f\xeate aux Camille !\n/AUn fait du 14 juillet 1700", texts[1])
        self.assertEqual(b"/AF\xeate nationale de Paris", texts[3])
        # A day with nothing else has its saint for event, not twice.
        self.assertEqual(b"-1:0:0:-1", days[1])
        self.assertEqual(b"/ABonne f\xeate aux Basile !", texts[0])
        self.assertEqual(b"", days[0])

if __name__ == "__main__":
    unittest.main()
