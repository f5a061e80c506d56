#!/usr/bin/env python3
"""Resource compiler: turns the readable sources of the program's own resources
into their binary forms and a .rc script that windres links into the program.

Sources, one resource per file, kind by extension (see resources/README.md):
  NAME.layout   layout (type 257) named NAME
  *.strings     string list (type 258), numbered by its "list N" line
  *.style       text style (type 259), numbered by its "style N" line
  NAME.popups   popup list (type 256) named NAME
  NAME.menu     Win32 menu (RT_MENU, 4) named NAME
  NAME.accel    Win32 accelerator table (RT_ACCELERATOR, 9) named NAME

Every error names the file and line ("Frame.layout:12: unknown class AFoo")
and makes the compiler exit with status 1, which fails the build.

Binary forms (little-endian):
  layout      02 00 | 02 00 | children block
  block       FF FF | FF FF | count i16 | count objects
  object      class name NUL | each class's part, root class first, each
              closed by FF FF | children block
  edge        value i32 | mode u16 | aux u16
  string list count i16 | offset i16 per string (from the start) | strings NUL
  text style  marker i16 (-1: face follows, else stock font id) | face NUL |
              size u16 | style u16 | alignment u16 | fore tag,r,g,b u16 x 4 |
              back tag,r,g,b u16 x 4
  popup list  u16 per top-level popup (FFFF: no id) | 0000
  menu        version 0000 | header size 0000 | items; an item is
              flags u16 | id u16 (not for a popup) | text UTF-16 NUL, and a
              popup (flags 0x10) is followed by its own items; the last
              item of each level has flag 0x80
  accelerator 8 bytes per entry: flags u16 (1 virtual key, 4 Shift,
              8 Ctrl, 0x10 Alt, 0x80 last) | key u16 | command u16 | 0000
"""

import argparse
import os
import re
import struct
import sys

LAYOUT_TYPE = 257
STRING_LIST_TYPE = 258
TEXT_STYLE_TYPE = 259
POPUP_LIST_TYPE = 256
MENU_TYPE = 4
ACCELERATOR_TYPE = 9


class CompileError(Exception):
    def __init__(self, path, line, message):
        super().__init__("%s:%d: %s" % (path, line, message))


# ---------------------------------------------------------------- tokens

TOKEN_RE = re.compile(r"""
    (?P<space>[ \t\r]+) |
    (?P<newline>\n) |
    (?P<comment>\#[^\n]*) |
    (?P<string>"(?:[^"\\\n]|\\.)*") |
    (?P<number>-?(?:0[xX][0-9A-Fa-f]+|[0-9]+)) |
    (?P<word>[A-Za-z_][A-Za-z0-9_.\-]*) |
    (?P<punct>[{}]) |
    (?P<bad>.)
""", re.VERBOSE)

ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "\\": "\\", '"': '"', "0": "\0"}


class Token:
    def __init__(self, kind, text, line):
        self.kind, self.text, self.line = kind, text, line

    def __repr__(self):
        return "%s %r" % (self.kind, self.text)


def tokenize(path, text):
    tokens, line = [], 1
    for m in TOKEN_RE.finditer(text):
        kind = m.lastgroup
        if kind == "newline":
            line += 1
        elif kind == "bad":
            raise CompileError(path, line, "unexpected character %r" % m.group())
        elif kind not in ("space", "comment"):
            tokens.append(Token(kind, m.group(), line))
    return tokens


def unquote(path, token):
    body, out, i = token.text[1:-1], [], 0
    while i < len(body):
        c = body[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        e = body[i + 1]
        if e == "x" and re.match(r"[0-9A-Fa-f]{2}", body[i + 2:i + 4]):
            out.append(chr(int(body[i + 2:i + 4], 16)))
            i += 4
        elif e in ESCAPES:
            out.append(ESCAPES[e])
            i += 2
        else:
            raise CompileError(path, token.line, "unknown escape \\%s" % e)
    return "".join(out)


def encode_text(path, line, text):
    """The program's texts are Windows-1252, NUL-terminated."""
    try:
        data = text.encode("cp1252")
    except UnicodeEncodeError as e:
        raise CompileError(path, line, "character %r has no Windows-1252 code" % text[e.start])
    if b"\0" in data:
        raise CompileError(path, line, "text holds a NUL character")
    return data + b"\0"


class Reader:
    def __init__(self, path, tokens):
        self.path, self.tokens, self.pos = path, tokens, 0

    def peek(self):
        return self.tokens[self.pos] if self.pos < len(self.tokens) else None

    def line(self):
        t = self.peek()
        if t:
            return t.line
        return self.tokens[-1].line if self.tokens else 1

    def next(self, what):
        t = self.peek()
        if t is None:
            raise CompileError(self.path, self.line(), "file ends where %s was expected" % what)
        self.pos += 1
        return t

    def error(self, message, token=None):
        return CompileError(self.path, token.line if token else self.line(), message)

    def integer(self, what, low, high):
        t = self.next(what)
        if t.kind != "number":
            raise self.error("%s expected, found %s" % (what, t.text), t)
        value = int(t.text, 0)
        if not low <= value <= high:
            raise self.error("%s %s is outside %d..%d" % (what, t.text, low, high), t)
        return value

    def string(self, what):
        t = self.next(what)
        if t.kind != "string":
            raise self.error("%s expected as a quoted text, found %s" % (what, t.text), t)
        return unquote(self.path, t), t.line

    def word(self, what):
        t = self.next(what)
        if t.kind != "word":
            raise self.error("%s expected, found %s" % (what, t.text), t)
        return t


# ---------------------------------------------------------------- class table

FIELD_TYPES = ("i16", "u16", "i32", "str", "edge", "layout")


class LayoutClass:
    def __init__(self, name, parent, fields, part=True):
        self.name, self.parent, self.fields, self.part = name, parent, fields, part

    def chain(self, classes):
        """The classes whose parts make up a record, root first."""
        out, c = [], self
        while c:
            out.append(c)
            c = classes.get(c.parent)
        return list(reversed(out))


def load_classes(path, earlier=None):
    """The classes of one table; a parent may be listed above it or in an earlier table."""
    earlier = earlier or {}
    classes = {}
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            words = raw.split("#", 1)[0].split()
            if not words:
                continue
            if len(words) < 2:
                raise CompileError(path, number, "a class line needs a name and a parent")
            name, parent, fields, part = words[0], words[1], [], True
            for spec in words[2:]:
                if spec == "nopart" and len(words) == 3:
                    part = False
                    continue
                field, _, kind = spec.partition(":")
                if kind not in FIELD_TYPES:
                    raise CompileError(path, number, "field %s has unknown type %r" % (field, kind))
                fields.append((field, kind))
            if name in classes:
                raise CompileError(path, number, "class %s listed twice" % name)
            if parent != "-" and parent not in classes and parent not in earlier:
                raise CompileError(path, number, "parent %s of %s is not listed above it" % (parent, name))
            classes[name] = LayoutClass(name, None if parent == "-" else parent, fields, part)
    return classes


# ---------------------------------------------------------------- edges

PLACEMENTS = {"a": 0x20, "b": 0x30, "middle": 0x40}
KINDS = {"parent": 0x1000, "previous": 0x2000, "flow": 0x3000, "sibling": 0x4000}
# Parent and flow rectangles hold their corners swapped, so "same side" is
# reference coordinate b there and a for siblings.
SAME_SIDE = {"parent": 0x30, "flow": 0x30, "previous": 0x20, "sibling": 0x20}
EDGE_WORDS = ("from", "permille", "offset", "sets-flow", "clamp")


def read_edge(r):
    """edge := "raw" value mode aux
             | value ["permille"] ["from" ("partner" | KIND [id] POS)]
               ["offset" n] ["sets-flow"] ["clamp"]"""
    first = r.peek()
    if first and first.kind == "word" and first.text == "raw":
        r.next("raw")
        return (r.integer("edge value", -2**31, 2**31 - 1), r.integer("edge mode", 0, 0xFFFF),
                r.integer("edge aux", 0, 0xFFFF))
    value = r.integer("edge value", -2**31, 2**31 - 1)
    mode, aux, seen = 0, 0, set()
    while True:
        t = r.peek()
        if not t or t.kind != "word" or t.text not in EDGE_WORDS:
            break
        r.next(t.text)
        if t.text in seen:
            raise r.error("edge has %s twice" % t.text, t)
        seen.add(t.text)
        if t.text == "permille":
            mode |= 0x0100
        elif t.text == "sets-flow":
            mode |= 0x0200
        elif t.text == "clamp":
            mode |= 0x0400
        elif t.text == "offset":
            mode |= r.integer("edge offset", 0, 15)
        else:
            ref = r.word("reference (partner, parent, previous, flow or sibling)")
            if ref.text == "partner":
                mode |= 0x0010
                continue
            if ref.text not in KINDS:
                raise r.error("unknown edge reference %s" % ref.text, ref)
            mode |= KINDS[ref.text]
            if ref.text == "sibling":
                aux = r.integer("sibling id", 1, 0x7FFF)
            pos = r.word("position (a, b, middle, same or opposite)")
            if pos.text == "same":
                mode |= SAME_SIDE[ref.text]
            elif pos.text == "opposite":
                mode |= SAME_SIDE[ref.text] ^ 0x10
            elif pos.text in PLACEMENTS:
                mode |= PLACEMENTS[pos.text]
            else:
                raise r.error("unknown edge position %s" % pos.text, pos)
    return value, mode, aux


# ---------------------------------------------------------------- layouts

class Layout:
    def __init__(self, path, name):
        self.path, self.name, self.includes = path, name, []


def read_object(r, classes, layout, depth):
    head = r.word("class name")
    cls = classes.get(head.text)
    if cls is None:
        raise r.error("unknown class %s" % head.text, head)
    if depth > 60:
        raise r.error("objects nested too deep", head)
    brace = r.next("{")
    if brace.text != "{":
        raise r.error("{ expected after %s, found %s" % (head.text, brace.text), brace)
    chain = cls.chain(classes)
    fields = {name: (kind, owner) for owner in chain for name, kind in owner.fields}
    values, children = {}, []
    while True:
        t = r.peek()
        if t is None:
            raise r.error("file ends inside %s (opened on line %d)" % (cls.name, brace.line))
        if t.kind == "punct" and t.text == "}":
            r.next("}")
            break
        if t.kind != "word":
            raise r.error("field or class expected, found %s" % t.text, t)
        if t.text in fields:
            r.next(t.text)
            if t.text in values:
                raise r.error("field %s given twice" % t.text, t)
            values[t.text] = read_value(r, fields[t.text][0], layout)
        elif t.text in classes:
            children.append(read_object(r, classes, layout, depth + 1))
        elif t.text[:1].isupper():
            raise r.error("unknown class %s" % t.text, t)
        else:
            raise r.error("%s has no field %s" % (cls.name, t.text), t)
    out = bytearray(encode_text(r.path, head.line, cls.name))
    for owner in chain:
        if not owner.part:
            continue
        for name, kind in owner.fields:
            out += encode_value(kind, values.get(name))
        out += b"\xff\xff"
    out += children_block(children)
    return bytes(out)


def read_value(r, kind, layout):
    if kind == "i16":
        return r.integer("16-bit value", -0x8000, 0x7FFF)
    if kind == "u16":
        return r.integer("16-bit value", 0, 0xFFFF)
    if kind == "i32":
        return r.integer("32-bit value", -0x80000000, 0x7FFFFFFF)
    if kind == "edge":
        return read_edge(r)
    text, line = r.string("text")
    data = encode_text(r.path, line, text)
    if kind == "layout":
        if not text.lstrip("*"):
            raise CompileError(r.path, line, "include names no layout")
        layout.includes.append((text.lstrip("*"), line))
    return data


def encode_value(kind, value):
    if kind == "i16":
        return struct.pack("<h", value or 0)
    if kind == "u16":
        return struct.pack("<H", value or 0)
    if kind == "i32":
        return struct.pack("<i", value or 0)
    if kind == "edge":
        return struct.pack("<iHH", *(value or (0, 0, 0)))
    return value or b"\0"


def children_block(children):
    if len(children) > 0x7FFF:
        raise ValueError("too many children")
    return b"\xff\xff\xff\xff" + struct.pack("<h", len(children)) + b"".join(children)


def compile_layout(path, text, classes):
    name = os.path.splitext(os.path.basename(path))[0]
    layout = Layout(path, name)
    r = Reader(path, tokenize(path, text))
    objects = []
    while r.peek() is not None:
        objects.append(read_object(r, classes, layout, 0))
    return layout, b"\x02\x00\x02\x00" + children_block(objects)


# ---------------------------------------------------------------- other kinds

def numbered_header(r, keyword):
    t = r.word(keyword)
    if t.text != keyword:
        raise r.error('file must start with "%s N"' % keyword, t)
    return r.integer("resource number", 1, 0xFFFF)


def compile_string_list(path, text):
    r = Reader(path, tokenize(path, text))
    number = numbered_header(r, "list")
    items = []
    while r.peek() is not None:
        s, line = r.string("string")
        items.append(encode_text(path, line, s))
    offset = 2 + 2 * len(items)
    out, heap = bytearray(struct.pack("<h", len(items))), bytearray()
    for item in items:
        if offset + len(heap) > 0x7FFF:
            raise CompileError(path, r.line(), "string list passes 32767 bytes")
        out += struct.pack("<h", offset + len(heap))
        heap += item
    return number, bytes(out + heap)


def read_colour(r):
    t = r.peek()
    if t and t.kind == "word" and t.text == "none":
        r.next("none")
        return (0xFFFE, 0, 0, 0)
    tag = 0
    if t and t.kind == "word" and t.text == "tag":
        r.next("tag")
        tag = r.integer("colour tag", 0, 0xFFFF)
    return (tag,) + tuple(r.integer("colour component", 0, 255) for _ in range(3))


def compile_text_style(path, text):
    r = Reader(path, tokenize(path, text))
    number = numbered_header(r, "style")
    v = {"face": None, "stock": None, "size": 0, "bits": 0, "align": 0,
         "fore": (0xFFFE, 0, 0, 0), "back": (0xFFFE, 0, 0, 0)}
    seen = set()
    while r.peek() is not None:
        key = r.word("style field (face, stock, size, bits, align, fore, back)")
        if key.text not in v:
            raise r.error("text style has no field %s" % key.text, key)
        if key.text in seen:
            raise r.error("field %s given twice" % key.text, key)
        seen.add(key.text)
        if key.text == "face":
            s, line = r.string("face name")
            v["face"] = encode_text(path, line, s)
        elif key.text == "stock":
            v["stock"] = r.integer("stock font id", 0, 0x7FFF)
        elif key.text in ("fore", "back"):
            v[key.text] = read_colour(r)
        else:
            v[key.text] = r.integer(key.text, 0, 0xFFFF)
    if v["face"] is not None and v["stock"] is not None:
        raise r.error("a text style has a face or a stock font, not both")
    marker = -1 if v["face"] is not None else (v["stock"] or 0)
    out = struct.pack("<h", marker) + (v["face"] or b"\0")
    out += struct.pack("<HHH", v["size"], v["bits"], v["align"])
    out += struct.pack("<4H", *v["fore"]) + struct.pack("<4H", *v["back"])
    return number, out


def compile_popups(path, text):
    r = Reader(path, tokenize(path, text))
    words = []
    while r.peek() is not None:
        t = r.peek()
        if t.kind == "word" and t.text == "none":
            r.next("none")
            words.append(0xFFFF)
        else:
            words.append(r.integer("popup id", 1, 0xFFFE))
    return struct.pack("<%dH" % (len(words) + 1), *(words + [0]))


def read_menu_items(r, depth):
    """Items up to a closing brace (or the end at depth 0): [(flags, id, text, children)]."""
    items = []
    while True:
        t = r.peek()
        if t is None:
            if depth:
                raise r.error("file ends inside a popup")
            break
        if t.kind == "punct" and t.text == "}":
            if not depth:
                raise r.error("} without a popup", t)
            r.next("}")
            break
        kind = r.word("popup, item or separator")
        if kind.text == "separator":
            items.append((0, 0, "", None))
        elif kind.text == "item":
            text, line = r.string("item text")
            ident = r.integer("command id", 1, 0xFFFF)
            items.append((0, ident, (text, line), None))
        elif kind.text == "popup":
            text, line = r.string("popup text")
            brace = r.next("{")
            if brace.text != "{":
                raise r.error("{ expected after the popup text, found %s" % brace.text, brace)
            items.append((0x10, 0, (text, line), read_menu_items(r, depth + 1)))
        else:
            raise r.error("popup, item or separator expected, found %s" % kind.text, kind)
    if not items:
        raise r.error("a menu or popup without items")
    return items


def encode_menu_items(path, items):
    out = bytearray()
    for i, (flags, ident, text, children) in enumerate(items):
        if i == len(items) - 1:
            flags |= 0x80
        words = encode_text(path, text[1], text[0]) if text else b"\0"
        utf16 = words[:-1].decode("cp1252").encode("utf-16-le") + b"\0\0"
        out += struct.pack("<H", flags)
        if children is None:
            out += struct.pack("<H", ident)
        out += utf16
        if children is not None:
            out += encode_menu_items(path, children)
    return bytes(out)


def compile_menu(path, text):
    r = Reader(path, tokenize(path, text))
    return b"\0\0\0\0" + encode_menu_items(path, read_menu_items(r, 0))


ACCEL_KEYS = {"Back": 0x08, "Tab": 0x09, "Return": 0x0D, "Escape": 0x1B, "Space": 0x20, "PageUp": 0x21,
              "PageDown": 0x22, "End": 0x23, "Home": 0x24, "Left": 0x25, "Up": 0x26, "Right": 0x27,
              "Down": 0x28, "Insert": 0x2D, "Delete": 0x2E}
ACCEL_MODIFIERS = {"Shift": 0x04, "Ctrl": 0x08, "Alt": 0x10}


def accel_key(r, token, text):
    parts = text.split("+")
    flags = 0x01
    for m in parts[:-1]:
        if m not in ACCEL_MODIFIERS or flags & ACCEL_MODIFIERS[m]:
            raise r.error("bad key modifier %r in %r" % (m, text), token)
        flags |= ACCEL_MODIFIERS[m]
    key = parts[-1]
    if re.match(r"^[A-Z0-9]$", key):
        return flags, ord(key)
    m = re.match(r"^F([1-9][0-9]?)$", key)
    if m and int(m.group(1)) <= 24:
        return flags, 0x6F + int(m.group(1))
    if key in ACCEL_KEYS:
        return flags, ACCEL_KEYS[key]
    raise r.error("unknown key %r in %r" % (key, text), token)


def compile_accelerators(path, text):
    r = Reader(path, tokenize(path, text))
    entries = []
    while r.peek() is not None:
        token = r.peek()
        keys, _ = r.string("key, as \"Ctrl+Q\"")
        flags, key = accel_key(r, token, keys)
        entries.append([flags, key, r.integer("command id", 1, 0xFFFF)])
    if not entries:
        raise CompileError(path, 1, "an accelerator table without entries")
    entries[-1][0] |= 0x80
    return b"".join(struct.pack("<HHHH", f, k, c, 0) for f, k, c in entries)


# ---------------------------------------------------------------- driver

NAME_RE = re.compile(r"^[A-Za-z_][A-Za-z0-9_]*$")


def compile_all(sources, classes):
    """Answers [(rc name, type, file stem, bytes)]; raises CompileError."""
    out, names, layouts = [], {}, []
    for path in sources:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        stem, ext = os.path.splitext(os.path.basename(path))
        if ext == ".layout":
            layout, data = compile_layout(path, text, classes)
            layouts.append(layout)
            key, kind = stem, LAYOUT_TYPE
        elif ext == ".strings":
            key, data = compile_string_list(path, text)
            kind = STRING_LIST_TYPE
        elif ext == ".style":
            key, data = compile_text_style(path, text)
            kind = TEXT_STYLE_TYPE
        elif ext == ".popups":
            key, data, kind = stem, compile_popups(path, text), POPUP_LIST_TYPE
        elif ext == ".menu":
            key, data, kind = stem, compile_menu(path, text), MENU_TYPE
        elif ext == ".accel":
            key, data, kind = stem, compile_accelerators(path, text), ACCELERATOR_TYPE
        else:
            raise CompileError(path, 1, "unknown kind of resource source %r" % ext)
        if isinstance(key, str) and not NAME_RE.match(key):
            raise CompileError(path, 1, "resource name %r must be letters, digits and _" % key)
        ident = (kind, key.upper() if isinstance(key, str) else key)
        if ident in names:
            raise CompileError(path, 1, "resource %s of type %d also comes from %s" % (key, kind, names[ident]))
        names[ident] = path
        out.append((key, kind, "%d_%s" % (kind, key), data))
    for layout in layouts:
        for name, line in layout.includes:
            if (LAYOUT_TYPE, name.upper()) not in names:
                raise CompileError(layout.path, line, "include names no layout: %s" % name)
    return out


def write_if_changed(path, data):
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except OSError:
        pass
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def main(argv):
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--classes", required=True, action="append", help="layout class table (repeatable)")
    p.add_argument("--out", required=True, help="folder for the binary resources")
    p.add_argument("--rc", required=True, help="the .rc script to write")
    p.add_argument("sources", nargs="*")
    args = p.parse_args(argv)
    try:
        classes = {}
        for table in args.classes:
            for name, cls in load_classes(table, classes).items():
                if name in classes:
                    raise CompileError(table, 1, "class %s is in two tables" % name)
                classes[name] = cls
        resources = compile_all(args.sources, classes)
    except CompileError as e:
        print("error: %s" % e, file=sys.stderr)
        return 1
    os.makedirs(args.out, exist_ok=True)
    lines = ["// Generated by tools/rescomp/rescomp.py; do not edit."]
    for key, kind, stem, data in resources:
        path = os.path.join(os.path.abspath(args.out), stem + ".bin")
        write_if_changed(path, data)
        lines.append('%s %d "%s"' % (key, kind, path.replace("\\", "/")))
    # Always rewritten: windres must rerun when only a binary changed.
    with open(args.rc, "w", encoding="ascii") as f:
        f.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
