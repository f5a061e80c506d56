"""The local online service's answers: the online search in the reader's
".net" form, grouped by source, and the account requests' lines."""
import unittest

import service

TITLES = [("Calques \u2014 Propri\u00e9t\u00e9s", "gimp-help-fr"), ("Le calque actif", "gimp-help-fr"),
          ("ls(1) - lister", "manpages-fr"), ("Calques et styles", "autre")]


class SearchTest(unittest.TestCase):
    def test_every_word_is_looked_up_in_the_titles_without_case_or_accents(self):
        rows = [("calques", [0, 3]), ("CALQUES propriétés", [0]), ("calque", [0, 1, 3]), ("  ", []),
                ("absent", [])]
        for text, numbers in rows:
            with self.subTest(text=text):
                self.assertEqual(numbers, [n for n, _t, _c in service.search(TITLES, text)])

    def test_the_answer_counts_each_category_and_lists_a_row_a_result(self):
        answer = service.net_answer(service.search(TITLES, "calque"), "http://h:1")
        lines = answer.split("\n")
        self.assertEqual("1:Aide de GIMP:2\t2:Aide de LibreOffice:0\t3:Pages de manuel:0\t4:Autres documents:1",
                         lines[0])
        self.assertEqual(["1", "Le calque actif", "http://h:1/redirect.php?id=article&ref=SV1"],
                         lines[2].split("\t")[:3])
        self.assertEqual("4", lines[3].split("\t")[0])
        self.assertEqual("", lines[-1])


class AccountTest(unittest.TestCase):
    def test_login_password_change_and_forgotten_password(self):
        service.ACCOUNTS.clear()
        service.ACCOUNTS["invite"] = "invite"
        rows = [("login", {"login": "invite", "password": "invite"}, "OK\nc1-invite\nc2-6\n"),
                ("login", {"login": "invite", "password": "faux"}, "REFUS\n"),
                ("passwd", {"login": "invite", "password": "faux", "new": "x"}, "REFUS\n"),
                ("passwd", {"login": "invite", "password": "invite", "new": "neuf"}, "OK\n"),
                ("login", {"login": "invite", "password": "neuf"}, "OK\nc1-invite\nc2-4\n"),
                ("forgot", {"login": ""}, "REFUS\n"),
                ("unknown", {}, "REFUS\n")]
        for operation, query, answer in rows:
            with self.subTest(operation=operation, query=query):
                self.assertEqual(answer, service.account(operation, query))


if __name__ == "__main__":
    unittest.main()
