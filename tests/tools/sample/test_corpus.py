"""The corpus converter: Windows-1252 conversion and its count, slash-markup
escaping, words and keys, the page parser, and the "KY" bitmap layout."""
import io
import struct
import unittest

import corpus
from PIL import Image


class Cp1252Test(unittest.TestCase):
    def test_conversion_counts_what_does_not_fit(self):
        rows = [
            ("\u00e9t\u00e9 \u0153uvre \u2014 \u20ac", "\u00e9t\u00e9 \u0153uvre \u2014 \u20ac".encode("cp1252"), 0, {}),
            ("a\u2192b \ufb01n", b"a->b fin", 2, {}),
            ("x\u202fy", b"x\xa0y", 1, {}),
            ("\u4e2d\u6587 \u0105\u010d", b"?? ac", 2, {"\u4e2d": 1, "\u6587": 1}),
            ("\u2764", b"?", 0, {"\u2764": 1}),
        ]
        for text, want, approximated, lost in rows:
            with self.subTest(text=text):
                c = corpus.Counter()
                self.assertEqual(want, corpus.to_cp1252(text, c))
                self.assertEqual(approximated, c.approximated)
                self.assertEqual(lost, c.missing)


class MarkupTest(unittest.TestCase):
    def test_escape_keeps_the_markup_characters_as_text(self):
        rows = [
            (b"a/b", b"a\\/b"), (b"c:\\x", b"c:\\\\x"), (b"{x}#1", b"\\{x\\}\\#1"),
            (b"tab\there", b"tab\there"), (b"line\nend\x10", b"lineend"), (b"plain !@", b"plain !@"),
        ]
        for raw, want in rows:
            with self.subTest(raw=raw):
                self.assertEqual(want, corpus.escape(raw))

    def test_words_and_keys(self):
        rows = [
            ("L'\u00c9t\u00e9 \u0152UVRE-d'art", [b"l", b"ete", b"\x9cuvre", b"d", b"art"]),
            ("calque2 ; 12,5 %", [b"calque2", b"12", b"5"]),
            ("na\u00efve\u00a0\u00e0", [b"naive", b"a"]),
        ]
        for text, keys in rows:
            with self.subTest(text=text):
                data = corpus.to_cp1252(text, corpus.Counter())
                self.assertEqual(keys, [corpus.key_of(w) for w in corpus.words_of(data)])
        self.assertEqual(127, len(corpus.key_of(b"a" * 300)))
        # The question's separators leave its wildcards to the pattern search.
        self.assertTrue(b" " in corpus.SEPARATORS and b"'" in corpus.SEPARATORS and b"\x92" in corpus.SEPARATORS)
        self.assertFalse(b"*" in corpus.SEPARATORS or b"?" in corpus.SEPARATORS or b"e" in corpus.SEPARATORS)


class AtoZTest(unittest.TestCase):
    def test_keys_increase_also_for_titles_alike_over_the_cut(self):
        long = b"x" * 130
        titles = [(b"calque", 4), (long + b"b", 1), (b"calque", 2), (long + b"a", 3), (b"calque actif", 0)]
        keys = corpus.az_keys(titles)
        self.assertEqual([(b"calque", 2), (b"calque\x01001", 4), (b"calque actif", 0), (b"x" * 123, 1),
                          (b"x" * 123 + b"\x01001", 3)], keys)
        self.assertTrue(all(a[0] < b[0] and len(b[0]) <= 127 for a, b in zip(keys, keys[1:])))


class PageTest(unittest.TestCase):
    def blocks(self, html):
        p = corpus.PageParser()
        p.feed(html)
        p.close()
        return [(b.kind, b.bullet, b.image, b.runs) for b in p.blocks]

    def test_blocks_keep_structure_and_leave_furniture_out(self):
        rows = [
            ("<p>Un <em>calque</em>  et\n <b>deux</b>.</p>",
             [("p", "", None, [("A", "Un ", None), ("E", "calque", None), ("A", " et ", None), ("B", "deux", None),
                               ("A", ".", None)])]),
            ("<ol><li>un</li><li>deux</li></ol><ul><li>x</li></ul>",
             [("li", "1. ", None, [("A", "un", None)]), ("li", "2. ", None, [("A", "deux", None)]),
              ("li", "\u2022 ", None, [("A", "x", None)])]),
            ('<div class="navheader"><p>Suivant</p></div><script>var a="<p>x</p>";</script><p>Reste</p>',
             [("p", "", None, [("A", "Reste", None)])]),
            ('<p>Voir <a href="b.html#s">la page</a></p><img src="images/i.png"/>',
             [("p", "", None, [("A", "Voir ", None), ("A", "la page", "b.html#s")]),
              ("img", "", "images/i.png", [])]),
            ("<table><tr><td>a b</td><td>c</td></tr></table>",
             [("row", "", None, [("A", "a b", None), ("A", "\tc", None)])]),
            ("<pre>x  y\n  z</pre>", [("pre", "", None, [("A", "x  y\n  z", None)])]),
        ]
        for html, want in rows:
            with self.subTest(html=html):
                self.assertEqual(want, self.blocks(html))


class BitmapTest(unittest.TestCase):
    def test_ky_bitmap_rows_are_the_dib_rows_bottom_first_in_bgr(self):
        im = Image.new("RGBA", (3, 2), (255, 0, 0, 255))
        im.putpixel((1, 0), (0, 0, 255, 0))  # transparent: white
        im.putpixel((2, 1), (0, 128, 0, 255))
        data = corpus.ky_bitmap(im)
        self.assertEqual(b"KY", data[:2])
        size, _, _, offset = struct.unpack("<IHHI", data[2:14])
        self.assertEqual((len(data), 54), (size, offset))
        header = struct.unpack("<IiiHHIIiiII", data[14:54])
        self.assertEqual((40, 3, 2, 1, 24, 0, 12 * 2), header[:7])  # rows of 9 bytes padded to 12
        rows = Image.open(io.BytesIO(data[54:])).tobytes()
        bottom = bytes([0, 0, 255, 0, 0, 255, 0, 128, 0])
        top = bytes([0, 0, 255, 255, 255, 255, 0, 0, 255])
        self.assertEqual(bottom + top, rows)


if __name__ == "__main__":
    unittest.main()


class LinkKindsTest(unittest.TestCase):
    def test_picture_marks_become_buttons_to_the_picture_and_its_movie(self):
        mark = lambda name: corpus.PICTURE_MARK + name + b"\0"
        markup = b"/Ax\n/A{B-1#images/a.bmp}" + mark(b"a.bmp") + b"\n/A{B-1#images/c.bmp}" + mark(b"c.bmp") + \
            b"\n/A{B-1#images/z.bmp}" + mark(b"z.bmp") + b"\n"
        # Pictures a, b, c are documents 10, 11, 12; movies are made of the first two: 13, 14.
        out = corpus.picture_buttons(markup, ["a.bmp", "b.bmp", "c.bmp"], 10)
        self.assertEqual(b"/Ax\n/A{B-1#images/a.bmp} {@d1@/M/1Agrandir l'image#G:10} {@d1@/M/1Voir la vid\xe9o#S:13}"
                         b"\n/A{B-1#images/c.bmp} {@d1@/M/1Agrandir l'image#G:12}"
                         b"\n/A{B-1#images/z.bmp}\n", out)  # a picture left out of the list has no button

    def test_web_links_search_the_online_service_for_their_label(self):
        rows = [("https://www.gimp.org/", b"Site de GIMP", b"Site de GIMP"),
                ("http://x.org/a", b"  le, manuel !", b"le manuel"),
                ("mailto:a@b.c", b"courrier", None),
                ("page.html", b"Page locale", None),
                ("http://x.org/", b"ok", None)]  # too short to search
        for href, label, expected in rows:
            with self.subTest(href=href):
                self.assertEqual(expected, corpus.Corpus.web_search(href, label))
