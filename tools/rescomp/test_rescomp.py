#!/usr/bin/env python3
"""Tests of the resource compiler: records it writes, and damaged sources each
with the exact error, file and line it must report."""

import os
import struct
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import rescomp  # noqa: E402

CLASSES = os.path.join(HERE, "layout-classes.txt")


def edge(value, mode, aux=0):
    return struct.pack("<iHH", value, mode, aux)


class Compiler(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.classes = rescomp.load_classes(CLASSES)

    def tearDown(self):
        self.dir.cleanup()

    def write(self, name, text):
        path = os.path.join(self.dir.name, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def compile(self, files):
        paths = [self.write(name, text) for name, text in files.items()]
        return {key: data for key, _, _, data in rescomp.compile_all(paths, self.classes)}

    def test_records(self):
        rows = [
            ("minimal layout", "AComponent { id 7 }",
             b"\x02\x00\x02\x00\xff\xff\xff\xff\x01\x00AComponent\x00\x07\x00\xff\xff\xff\xff\xff\xff\x00\x00"),
            ("display component docked right, 215 wide, 34 high",
             "ADisplayComponent { id 3\n left -215 from parent opposite\n top 0 from parent same\n"
             " right 0 from parent same\n bottom 34 }",
             b"\x02\x00\x02\x00\xff\xff\xff\xff\x01\x00ADisplayComponent\x00\x03\x00\xff\xff"
             + edge(-215, 0x1020) + edge(0, 0x1030) + edge(0, 0x1030) + edge(34, 0)
             + b"\xff\xff\xff\xff\xff\xff\x00\x00"),
            ("every edge option, sibling and raw edges",
             "ADisplayComponent { left 500 permille from flow same offset 3 sets-flow clamp\n"
             " top 4 from sibling 12 same right 0 from partner bottom raw -1 0x4000 0 }",
             b"\x02\x00\x02\x00\xff\xff\xff\xff\x01\x00ADisplayComponent\x00\x00\x00\xff\xff"
             + edge(500, 0x3733) + edge(4, 0x4020, 12) + edge(0, 0x0010) + edge(-1, 0x4000)
             + b"\xff\xff\xff\xff\xff\xff\x00\x00"),
            ("a class without a part of its own adds no end mark",
             "AFileMenuHandler { id 4 }",
             b"\x02\x00\x02\x00\xff\xff\xff\xff\x01\x00AFileMenuHandler\x00\x04\x00\xff\xff\xff\xff"
             + b"\xff\xff\xff\xff\x00\x00"),
            ("chain of parts, defaults, Windows-1252 text and a child",
             'AStaticText { text "Été" AComponent { id 2 } }',
             b"\x02\x00\x02\x00\xff\xff\xff\xff\x01\x00AStaticText\x00"
             + b"\x00\x00\xff\xff" + edge(0, 0) * 4 + b"\xff\xff" + b"\x00\x00\x00\x00\x00\xff\xff"
             + b"\xff\xff" + b"\xc9t\xe9\x00\x00\x00\xff\xff"
             + b"\xff\xff\xff\xff\x01\x00AComponent\x00\x02\x00\xff\xff\xff\xff\xff\xff\x00\x00"),
        ]
        for what, text, expected in rows:
            with self.subTest(what):
                self.assertEqual(expected, self.compile({"L.layout": text})["L"])

    def test_later_table_extends_an_earlier_one(self):
        later = self.write("more.txt", "APane ALocalCluster\nProbe APane count:u16\n")
        classes = dict(self.classes)
        classes.update(rescomp.load_classes(later, classes))
        self.assertEqual(["AComponent", "ADisplayComponent", "AClusterItem", "ACommandItem", "AItemCluster",
                          "ALocalCluster", "APane", "Probe"], [c.name for c in classes["Probe"].chain(classes)])
        with self.assertRaisesRegex(rescomp.CompileError, "parent APane of Probe is not listed above it"):
            rescomp.load_classes(self.write("alone.txt", "Probe APane\n"))

    def test_string_list(self):
        data = self.compile({"Msg.strings": 'list 129\n"Sans Titre"\n"A\\tB"\n'})[129]
        self.assertEqual(b"\x02\x00\x06\x00\x11\x00Sans Titre\x00A\tB\x00", data)

    def test_menu_and_accelerators(self):
        data = self.compile({"M.menu": 'popup "&É" {\n item "A\\tB" 22\n separator\n}\npopup "?" { item "x" 7 }'})
        u = lambda t: t.encode("utf-16-le") + b"\0\0"
        self.assertEqual(b"\0\0\0\0" + b"\x10\x00" + u("&É") + b"\x00\x00\x16\x00" + u("A\tB")
                         + b"\x80\x00\x00\x00" + u("") + b"\x90\x00" + u("?") + b"\x80\x00\x07\x00" + u("x"),
                         data["M"])
        data = self.compile({"K.accel": '"Ctrl+Q" 22\n"Shift+F5" 911\n"Ctrl+1" 3000'})
        self.assertEqual(b"\x09\x00Q\x00\x16\x00\x00\x00" + b"\x05\x00\x74\x00\x8f\x03\x00\x00"
                         + b"\x89\x001\x00\xb8\x0b\x00\x00", data["K"])

    def test_errors(self):
        rows = [
            ("unknown class", {"A.layout": "AComponent {\n  AFoo { }\n}"}, "A.layout:2: unknown class AFoo"),
            ("unknown top-level class", {"A.layout": "# c\nAWidget { }"}, "A.layout:2: unknown class AWidget"),
            ("field of another class", {"A.layout": 'AComponent {\n text "x" }'},
             "A.layout:2: AComponent has no field text"),
            ("field twice", {"A.layout": "AComponent { id 1\n id 2 }"}, "A.layout:2: field id given twice"),
            ("id out of range", {"A.layout": "AComponent { id 40000 }"},
             "A.layout:1: 16-bit value 40000 is outside -32768..32767"),
            ("unclosed object", {"A.layout": "AComponent {\n id 1\n"},
             "A.layout:2: file ends inside AComponent (opened on line 1)"),
            ("missing brace", {"A.layout": "AComponent id 1"}, "A.layout:1: { expected after AComponent, found id"),
            ("bad edge position", {"A.layout": "ADisplayComponent {\n left 0 from parent sideways }"},
             "A.layout:2: unknown edge position sideways"),
            ("bad edge reference", {"A.layout": "ADisplayComponent { left 0 from window a }"},
             "A.layout:1: unknown edge reference window"),
            ("edge offset too large", {"A.layout": "ADisplayComponent {\n\n top 0 offset 16 }"},
             "A.layout:3: edge offset 16 is outside 0..15"),
            ("sibling without id", {"A.layout": "ADisplayComponent { left 0 from sibling a }"},
             "A.layout:1: sibling id expected, found a"),
            ("edge option twice", {"A.layout": "ADisplayComponent { left 0 clamp clamp }"},
             "A.layout:1: edge has clamp twice"),
            ("text without Windows-1252 code", {"A.layout": 'AStaticText {\n text "\u2192" }'},
             "A.layout:2: character '\u2192' has no Windows-1252 code"),
            ("include of no layout", {"A.layout": 'AComponent {\n ATreeIncluder { include "*Missing" } }'},
             "A.layout:2: include names no layout: Missing"),
            ("two layouts of one name", {"A.layout": "", "sub/a.layout": ""}, "a.layout:1: resource a of type 257"),
            ("string list without number", {"M.strings": '"x"'}, 'M.strings:1: list expected, found "x"'),
            ("unknown style field", {"S.style": "style 3\nweight 2"}, "S.style:2: text style has no field weight"),
            ("bad character", {"A.layout": "AComponent { id 1; }"}, "A.layout:1: unexpected character ';'"),
            ("menu item without id", {"M.menu": 'popup "a" {\n item "b" }'}, "M.menu:2: command id expected, found }"),
            ("unclosed popup", {"M.menu": 'popup "a" {\n item "b" 1\n'}, "M.menu:2: file ends inside a popup"),
            ("empty popup", {"M.menu": 'popup "a" {\n}'}, "M.menu:2: a menu or popup without items"),
            ("unknown accelerator key", {"K.accel": '"Ctrl+Q" 1\n"Ctrl+F30" 2'},
             "K.accel:2: unknown key 'F30' in 'Ctrl+F30'"),
            ("modifier twice", {"K.accel": '"Ctrl+Ctrl+Q" 1'}, "K.accel:1: bad key modifier 'Ctrl' in 'Ctrl+Ctrl+Q'"),
        ]
        for what, files, message in rows:
            with self.subTest(what):
                if "sub/a.layout" in files:
                    os.makedirs(os.path.join(self.dir.name, "sub"), exist_ok=True)
                with self.assertRaises(rescomp.CompileError) as caught:
                    self.compile(files)
                text = str(caught.exception)
                self.assertIn(message, text)
                self.assertTrue(text.startswith(self.dir.name), text)

    def test_failure_fails_the_build(self):
        source = self.write("Bad.layout", "AFoo { }")
        rc = os.path.join(self.dir.name, "out.rc")
        status = rescomp.main(["--classes", CLASSES, "--out", self.dir.name, "--rc", rc, source])
        self.assertEqual(1, status)
        self.assertFalse(os.path.exists(rc))


class ReaderLayouts(unittest.TestCase):
    # A field left without a focus mode never becomes the command target, so
    # Return and the other keys it handles never reach it.
    def test_every_edit_field_takes_the_keyboard(self):
        folder = os.path.join(HERE, "..", "..", "resources")
        unfocusable = []
        for name in sorted(os.listdir(folder)):
            if not name.endswith(".layout"):
                continue
            path = os.path.join(folder, name)
            with open(path, encoding="utf-8") as f:
                tokens = rescomp.tokenize(path, f.read())
            for i, t in enumerate(tokens):
                if t.text != "AEditBox" or i + 1 >= len(tokens) or tokens[i + 1].text != "{":
                    continue
                depth, j, focus = 0, i + 1, 0
                while j < len(tokens):
                    if tokens[j].text == "{":
                        depth += 1
                    elif tokens[j].text == "}":
                        depth -= 1
                        if depth == 0:
                            break
                    elif depth == 1 and tokens[j].text == "focus" and j + 1 < len(tokens):
                        focus = int(tokens[j + 1].text, 0)
                    j += 1
                if not focus & 0x3000:
                    unfocusable.append("%s:%d" % (name, t.line))
        self.assertEqual(unfocusable, [])

    # A picture file the reader does not link stops it at start when a layout
    # names one of its pictures.
    def test_the_reader_links_every_picture_file(self):
        root = os.path.join(HERE, "..", "..")
        with open(os.path.join(root, "reader", "CMakeLists.txt"), encoding="utf-8") as f:
            reader = f.read()
        with open(os.path.join(root, "cmake", "SvResources.cmake"), encoding="utf-8") as f:
            lists = f.read()
        linked = reader
        for var in ("SV_FRAME_BITMAPS", "SV_DOCKLEFT_BITMAPS"):
            if "${%s}" % var in reader:
                # The lists name each file below its folder: sv_paths(VAR folder name...).
                start = lists.index("sv_paths(%s " % var)
                names = lists[start:lists.index(")", start)].split()
                linked += " ".join("resources/" + os.path.basename(n) for n in names)
        missing = [name for name in sorted(os.listdir(os.path.join(root, "resources")))
                   if name.endswith(".rc") and "resources/" + name not in linked]
        self.assertEqual(missing, [])

    # The reader links every picture file; two pictures under one number lose
    # one of them, and which one depends on the link order.
    def test_picture_numbers_are_unique(self):
        folder = os.path.join(HERE, "..", "..", "resources")
        seen, twice = {}, []
        for name in sorted(os.listdir(folder)):
            if not name.endswith(".rc"):
                continue
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                for line in f:
                    parts = line.split()
                    if len(parts) >= 2 and parts[1] == "BITMAP":
                        if parts[0] in seen:
                            twice.append("%s in %s and %s" % (parts[0], seen[parts[0]], name))
                        seen[parts[0]] = name
        self.assertEqual(twice, [])


if __name__ == "__main__":
    unittest.main()
