"""The names the reader's code asks the installation for: calls, message
tables, keys built at run time, room titles, table lists; comments ask
for nothing."""
import os
import tempfile
import unittest

import keys


class ScanLineTest(unittest.TestCase):
    def test_each_way_of_naming_a_key(self):
        rows = [
            ('configString("HISTO_NBLINES")', [("str", "HISTO_NBLINES")]),
            ('app.configMessage( "LINKNET_LIBEL" ).c_str()', [("str", "LINKNET_LIBEL")]),
            ('fillVideoTemplate("HTMLDCRMEDIAWIN", "DCRLAUNCHERWIN", p)',
             [("str", "HTMLDCRMEDIAWIN"), ("str", "DCRLAUNCHERWIN")]),
            # A message read through a table of the code.
            ('{1005, "DLG_NET_MSG4"}, {1006, "DLG_NET_MSG5"}', [("str", "DLG_NET_MSG4"), ("str", "DLG_NET_MSG5")]),
            ('std::string key = std::string("FONT_ADJUST_") + "WIN_" + widthClass;',
             [("prefix", "FONT_ADJUST_WIN_")]),
            ('getString(("SALLE_ONGLET_" + name).c_str())', [("prefix", "SALLE_ONGLET_")]),
            ('{1, 0, "SALLE_ART_TITLE"}', [("str", "WSALLE_ART_TITLE")]),
            ('case 1: return "SALLE_ART";', [("str", "SALLE_ART")]),
            ('{"SALLES", "SALLES:DOC,SALLES:URL", nullptr}', [("table", "SALLES:DOC"), ("table", "SALLES:URL")]),
            ('openIndex("AUTEUR", edit);', [("lex", "AUTEUR")]),
            ('getFile("MAJ")', [("file", "MAJ")]),
            ('configString("ok") + Upper("NOT_A_KEY")', []),
        ]
        for code, expected in rows:
            with self.subTest(code=code):
                self.assertEqual(sorted(expected), sorted(set(keys.scan_line(code))))

    def test_the_scan_skips_comments_and_names_the_first_place(self):
        with tempfile.TemporaryDirectory() as root:
            os.makedirs(os.path.join(root, "app"))
            with open(os.path.join(root, "app", "a.cpp"), "w") as f:
                f.write('// configString("IN_A_COMMENT")\nx = configString("MAXSIREQ"); // "DLG_GONE"\n'
                        'y = configString("MAXSIREQ");\n')
            with open(os.path.join(root, "app", "notes.txt"), "w") as f:
                f.write('configString("NOT_CODE")\n')
            self.assertEqual([(("str", "MAXSIREQ"), "app/a.cpp:2")], keys.scan(root))


if __name__ == "__main__":
    unittest.main()
