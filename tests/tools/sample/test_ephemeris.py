"""The sample ephemeris: dated lines of both date forms, events with their
year, at most three a day with the saint of the day first, and the day
records' fields."""
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
            self.write(folder, "calendar.history", "07/14\tStorming of the Bastille, 1789\n07/14\tNo year\n")
            self.write(folder, "calendar.music", "07/14\tWoodie Guthrie is born, 1912\n03/21\tBach, 490 B.C.\n")
            self.write(folder, "fr_FR/calendar.fetes", "07/14\tBonne f\u00eate aux Camille !\n07/14\tAutre\n")
            days = ephemeris.events_by_day(folder)
            saints = ephemeris.saints(folder)
        self.assertEqual({(7, 14): [(1789, "Storming of the Bastille"), (1912, "Woodie Guthrie is born")]}, days)
        self.assertEqual({(7, 14): "Bonne f\u00eate aux Camille !"}, saints)

    def test_the_day_records_name_texts_articles_pictures_and_related_documents(self):
        with tempfile.TemporaryDirectory() as src, tempfile.TemporaryDirectory() as work:
            calendar = os.path.join(src, "usr/share/calendar")
            self.write(calendar, "calendar.history",
                       "".join("07/14\tEvent number %d of Paris, %d\n" % (n, 1700 + n) for n in range(5)))
            self.write(calendar, "fr_FR/calendar.fetes", "07/14\tBonne f\u00eate aux Camille !\n")
            # Document 3 holds "paris", document 5 "event".
            with open(os.path.join(work, "words.txt"), "wb") as f:
                f.write(b"paris\t3\t1\nevent\t5\t1\n")
            ephemeris.main_with(src, work)
            with open(os.path.join(work, "ephem", "days.txt"), "rb") as f:
                days = f.read().split(b"\f")
            with open(os.path.join(work, "ephem", "texts.txt"), "rb") as f:
                texts = f.read().split(b"\f")
        self.assertEqual(372, len(days))
        events = days[6 * 31 + 13].split(b",")
        self.assertEqual(3, len(events))
        fields = events[0].split(b":")
        self.assertEqual([b"1700", b"0"], fields[:2])
        self.assertEqual(b"/BBonne f\xeate aux Camille !\n/AEvent number 0 of Paris, 1700", texts[0])
        self.assertEqual(b"/AEvent number 1 of Paris, 1701", texts[1])
        self.assertEqual(b"", days[0])


if __name__ == "__main__":
    unittest.main()
