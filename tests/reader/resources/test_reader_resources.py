#!/usr/bin/env python3
"""Tests of the scan that finds what the reader's code loads: which calls
count, how their arguments resolve, and what is left out."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import reader_resources as rr  # noqa: E402


class Scan(unittest.TestCase):
    def uses(self, text, consts=None):
        return sorted((kind, value) for kind, value, _ in rr.scan("x.cpp", text, consts))

    def test_calls_and_arguments(self):
        rows = [
            ("layout by literal", 'AComponent::loadLayout(app, "About", 0);', [(rr.LAYOUT, "About")]),
            ("layout by a constant of the file",
             'const char kPrinted[] = "Export";\nloadLayout(parent, kPrinted, 0);',
             [(rr.LAYOUT, "Export")]),
            ("layout by a class constant", "AComponent::loadLayout(p, ASVNetDlg::kLayoutName, 0);", []),
            ("dialog", 'LoadDialog<ProxyDlg>(app, "Proxy", 122);', [(rr.LAYOUT, "Proxy")]),
            ("existence check", "AResource(kLayoutType, AResourceRef(\"Frame1\")).exists()", [(rr.LAYOUT, "Frame1")]),
            ("computed layout name is left out", "loadLayout(this, name.c_str(), 0);", []),
            ("string list", "AStringListResource list(129);\nGetListString(t, 900, 2);",
             [(rr.STRINGS, 129), (rr.STRINGS, 900)]),
            ("string list by a variable is left out", "GetListString(t, list, 2);", []),
            ("bitmap", "LoadBitmapA(m, MAKEINTRESOURCEA(4601));", [(rr.BITMAP, 4601)]),
            ("cursor cycle", "new AOwnerCursorGuard(app, 0x101, 3);",
             [(rr.CURSOR, 257), (rr.CURSOR, 258), (rr.CURSOR, 259)]),
            ("cursor constant", "const int16_t kSearchCursor = 312;", [(rr.CURSOR, 312)]),
            ("layout named by a member's first value", 'AString subLayout_ = "Lexique";', [(rr.LAYOUT, "Lexique")]),
            ("system pointer", "ACursor c(app, 32514);", []),
            ("text style", "style_ = new ATextStyle(AResourceRef(101));\nATextStyle style{AResourceRef(100)};",
             [(rr.STYLE, 100), (rr.STYLE, 101)]),
            ("text style by a variable is left out", "new ATextStyle(AResourceRef(number));", []),
            ("commented out", '// loadLayout(app, "Old", 0);\n/* LoadDialog<X>(a, "Gone", 1); */', []),
        ]
        for name, text, expected in rows:
            with self.subTest(name):
                self.assertEqual(sorted(expected), self.uses(text))

    def test_header_constants_resolve(self):
        self.assertEqual([(rr.LAYOUT, "ImpNet")],
                         self.uses("loadLayout(p, kPrintLayout, 0);", {"kPrintLayout": "ImpNet"}))

    def test_place_is_file_and_line(self):
        [(_, _, where)] = rr.scan("a/b.cpp", '\n\nLoadDialog<A>(x, "AuthInfo", 137);')
        self.assertEqual("a/b.cpp:3", where)


class Program(unittest.TestCase):
    def test_class_records_read_with_their_length(self):
        listing = ("00401000 D __ZN6Frame111classRecordE\n00402000 D __ZN8ProxyDlg11classRecordE\n"
                   "00403000 T __ZN8ProxyDlg6createEv\n00404000 D __ZN9Short11classRecordE\n")
        self.assertEqual({"Frame1", "ProxyDlg"}, rr.class_records(listing))

    def test_registered_names(self):
        text = ('SV_IMPLEMENT_CLASS(Lexique, 0, AWindow)\n'
                'AClass AExportOptionsWindow::classRecord("AExportOptionsDlg", &create, parents, 0);\n'
                '// SV_IMPLEMENT_CLASS(Gone, 0, AWindow)\n')
        self.assertEqual({"Lexique": "Lexique", "AExportOptionsWindow": "AExportOptionsDlg"},
                         rr.registrations(text))

    def test_compile_units(self):
        dump = ("  Compilation Unit @ offset 0:\n"
                "    <58>   DW_AT_name        : (indirect line string, offset: 0): ../reader/TheApp.cpp\n"
                "    <5c>   DW_AT_comp_dir    : (indirect line string, offset: 0x1d): /work/x/build\n"
                " <1><6c>: ...\n    <70>   DW_AT_name        : inner\n"
                "  Compilation Unit @ offset 0x24db:\n    <24>   DW_AT_name        : /abs/b.cpp\n")
        self.assertEqual(["/work/x/reader/TheApp.cpp", "/abs/b.cpp"], list(rr.compile_units(dump)))


class Layouts(unittest.TestCase):
    def test_classes_are_block_heads_outside_strings_and_comments(self):
        text = ('# AOld { }\nProxyDlg {\n  title "Fake { x"\n  AEditBox { id 1 }\n'
                '  ATextButton{ label "A{" }\n}\n')
        self.assertEqual({"ProxyDlg", "AEditBox", "ATextButton"}, rr.layout_classes(text))


class Tree(unittest.TestCase):
    def test_sources_of_another_checkout_map_to_this_one(self):
        rows = [
            ("/work/main/reader/TheApp.cpp", "/r/reader/TheApp.cpp"),
            ("/work/wt/x/framework/app/AApp.cpp", "/r/framework/app/AApp.cpp"),
            ("/usr/src/googletest/src/gtest.cc", None),
        ]
        for path, expected in rows:
            with self.subTest(path):
                self.assertEqual(expected, rr.in_tree(path, "/r"))
        # A checkout in a folder named like a tree folder keeps its own paths.
        self.assertEqual("/w/app/panes/x.cpp", rr.in_tree("/w/app/panes/x.cpp", "/w/app"))
        self.assertEqual("/w/app/reader/y.cpp", rr.in_tree("/work/main/reader/y.cpp", "/w/app"))

    def test_another_checkout_named_like_a_tree_folder_maps_to_the_file_here(self):
        import tempfile
        with tempfile.TemporaryDirectory() as root:
            os.makedirs(os.path.join(root, "panes", "docks"))
            open(os.path.join(root, "panes", "docks", "x.cpp"), "w").close()
            self.assertEqual(os.path.join(root, "panes", "docks", "x.cpp"),
                             rr.in_tree("/work/wt/web/panes/docks/x.cpp", root))

    def test_a_checkout_named_as_a_tree_folder(self):
        root = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
        self.assertEqual(os.path.join(root, "app", "frame", "Frame1.cpp"),
                         rr.in_tree("/work/wt/search/app/frame/Frame1.cpp", root))
        self.assertEqual(os.path.join(root, "search", "engine", "none.cpp"),
                         rr.in_tree("/work/wt/x/search/engine/none.cpp", root), "no file: the first place")


if __name__ == "__main__":
    unittest.main()
