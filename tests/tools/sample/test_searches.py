"""The brute-force answers of the fixed searches: operators, phrases as
proximity words, prefixes and thesaurus expansions."""
import unittest

import searches


class SearchesTest(unittest.TestCase):
    def test_operators_phrases_prefixes_and_thesaurus(self):
        def at(paragraph, word):
            return (paragraph << 16) | word
        index = {
            b"feuille": {1: [at(0, 0)], 2: [at(0, 0)], 3: [at(1, 5)]},
            b"calcul": {1: [at(0, 2)], 2: [at(0, 1)], 3: [at(2, 0)]},
            b"calque": {2: [at(0, 4)], 4: [at(0, 0)]},
            b"calques": {5: [at(0, 0)]},
            b"image": {4: [at(0, 1)]},
            b"photo": {6: [at(0, 0)]},
        }
        thes = {b"image": [b"photo"]}
        rows = [
            ("feuille", {1, 2, 3}),
            # a phrase is its words within 1 + the stop words left out, in either order
            ("\"feuille de calcul\"", {1, 2}),
            ("\"feuille calcul\"", {2}),
            ("\"calcul feuille\"", {2}),
            ("feuille calcul", {1, 2, 3}),
            ("feuille ET calque", {2}),
            ("calque OU image", {2, 4}),
            ("feuille SAUF calcul", set()),
            ("calq*!", {2, 4, 5}),
            ("~image", {4, 6}),
            ("image", {4}),
            ("absent OU photo", {6}),
        ]
        for search, want in rows:
            with self.subTest(search=search):
                self.assertEqual(want, searches.run(index, thes, search))


if __name__ == "__main__":
    unittest.main()
