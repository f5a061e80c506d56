"""The theme tree from the sources' structure: GIMP pages under the page
their "up" link names, LibreOffice pages under their module and topic
folders, man pages under their section; deep chains fold at the fifth level."""
import os
import tempfile
import unittest

import themes


class Page:
    def __init__(self, source, name, title):
        self.source, self.name, self.title = source, name, title


def gimp_file(folder, name, up):
    with open(os.path.join(folder, name), "w") as f:
        link = '<link rel="up" href="%s" title="x">' % up if up else ""
        f.write("<html><head>%s</head><body></body></html>" % link)


class ThemeTreeTest(unittest.TestCase):
    def test_pages_go_under_their_sources_structure(self):
        with tempfile.TemporaryDirectory() as root:
            gimp = os.path.join(root, "g")
            os.makedirs(gimp)
            # index <- part <- chapter <- a, b; c#x names the part; d has no up link.
            for name, up in [("index.html", None), ("part.html", "index.html"), ("chapter.html", "part.html"),
                             ("a.html", "chapter.html"), ("b.html", "chapter.html#s"), ("d.html", None),
                             ("l1.html", "l2.html"), ("l2.html", "l3.html"), ("l3.html", "l4.html"),
                             ("l4.html", "l5.html"), ("l5.html", "l6.html"), ("l6.html", "index.html")]:
                gimp_file(gimp, name, up)
            pages = [Page("gimp-help-fr", n, n[:-5].capitalize()) for n in
                     ["a.html", "b.html", "chapter.html", "d.html", "index.html", "part.html",
                      "l1.html", "l2.html", "l3.html", "l4.html", "l5.html", "l6.html"]]
            pages += [Page("libreoffice-help-fr", "swriter/guide/x.html", "X"),
                      Page("libreoffice-help-fr", "swriter/01/y.html", "Y"),
                      Page("manpages-fr", "man1/ls.1", "ls(1)"), Page("manpages-fr", "man8/ip.8", "ip(8)")]
            first, counts, n = {}, {}, 0
            for p in pages:
                first[(p.source, p.name)] = n
                counts[(p.source, p.name)] = 2 if p.name == "a.html" else 1
                n += counts[(p.source, p.name)]
            lines = themes.theme_lines(root, pages, first, counts, "g")
        self.maxDiff = None
        self.assertEqual([
            "0\tManuel de GIMP\t4,5,6,12",   # d (no up link), index, part; l6 under the root
            "1\tPart\t3",                    # the chapter
            "2\tChapter\t0,1,2",             # a (two articles) and b (its up names a place in chapter)
            "1\tL6\t11",
            "2\tL5\t10",
            "3\tL4\t9",
            "4\tL3\t7,8",                    # l2 and, folded, l1
            "0\tAide de LibreOffice\t",
            "1\tWriter\t",
            "2\tguide\t13",
            "2\t01\t14",
            "0\tPages de manuel\t",
            "1\tSection 1\t15",
            "1\tSection 8\t16",
        ], lines)


if __name__ == "__main__":
    unittest.main()
