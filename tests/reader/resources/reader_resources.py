#!/usr/bin/env python3
"""Checks that the reader holds what its code loads: every layout, string
list, text style, bitmap, cursor and popup list that code linked into the
reader asks for by name or number is in the program's resource table, and
every class that a layout of the reader names is registered in it (its class
record linked in).

What the code asks for comes from a scan of the sources the program was
built from (their names are in its debug information, kept in a file of
its own beside the stripped program), call by call: a
literal argument, or a constant defined in the same file or its header.
Arguments the scan cannot resolve (computed names) are left out.

Run: reader_resources.py READER_EXE SOURCE_DIR [--debug FILE] [--objdump TOOL] [--nm TOOL]
Exits 1 naming each missing resource and class with the place that uses it.
"""
import argparse
import os
import re
import struct
import subprocess
import sys

LAYOUT, STRINGS, STYLE, POPUPS, BITMAP, CURSOR = 257, 258, 259, 256, 2, 1
GROUP_CURSOR = 12
KIND_NAMES = {LAYOUT: "layout", STRINGS: "string list", STYLE: "text style", POPUPS: "popup list",
              BITMAP: "bitmap", CURSOR: "cursor"}


# ------------------------------------------------------------ the program

def resource_table(data):
    """{(type, name-or-number)} of a PE file's resources; names upper-cased
    as the Win32 calls compare them."""
    if data[:2] != b"MZ":
        raise ValueError("not a program")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE program")
    sections = struct.unpack_from("<H", data, pe + 6)[0]
    optional = struct.unpack_from("<H", data, pe + 20)[0]
    magic = struct.unpack_from("<H", data, pe + 24)[0]
    dirs = pe + 24 + (96 if magic == 0x10B else 112)
    rva = struct.unpack_from("<I", data, dirs + 2 * 8)[0]
    if not rva:
        return set()
    table = pe + 24 + optional
    base = None
    for i in range(sections):
        s = table + 40 * i
        vsize, vaddr, rawsize, rawptr = struct.unpack_from("<IIII", data, s + 8)
        if vaddr <= rva < vaddr + max(vsize, rawsize):
            base = rawptr + (rva - vaddr)
            break
    if base is None:
        raise ValueError("resource table outside every section")

    def entries(offset):
        named, numbered = struct.unpack_from("<HH", data, base + offset + 12)
        for k in range(named + numbered):
            key, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * k)
            if key & 0x80000000:
                at = base + (key & 0x7FFFFFFF)
                length = struct.unpack_from("<H", data, at)[0]
                key = data[at + 2:at + 2 + 2 * length].decode("utf-16-le").upper()
            yield key, target

    found = set()
    for rtype, sub in entries(0):
        if not sub & 0x80000000:
            continue
        for name, _ in entries(sub & 0x7FFFFFFF):
            found.add((rtype, name))
    # A cursor resource is found through its group.
    return {(CURSOR, n) for t, n in found if t == GROUP_CURSOR} | found


def linked_sources(exe, objdump):
    """The source files compiled into the program (its compile units)."""
    out = subprocess.run([objdump, "--dwarf=info", "--dwarf-depth=1", exe], capture_output=True, text=True,
                         check=True).stdout
    return sorted(set(compile_units(out)))


def compile_units(dump):
    """The source of each compile unit of an objdump --dwarf=info listing."""
    attr = re.compile(r"DW_AT_(name|comp_dir)\s*:\s*(?:\([^)]*\):\s*)?(.*\S)")
    unit = {}
    for line in dump.splitlines() + ["Compilation Unit"]:
        if "Compilation Unit" in line:
            if "name" in unit:
                yield os.path.normpath(os.path.join(unit.get("comp_dir", ""), unit["name"]))
            unit = {}
            continue
        m = attr.search(line)
        if m and m.group(1) not in unit:
            unit[m.group(1)] = m.group(2)


def linked_classes(exe, nm):
    """The C++ classes whose class record is linked into the program."""
    out = subprocess.run([nm, exe], capture_output=True, text=True, check=True).stdout
    return class_records(out)


def class_records(listing):
    found = set()
    for m in re.finditer(r"_ZN(\d+)(\w+)11classRecordE\b", listing):
        length, rest = int(m.group(1)), m.group(2)
        if len(rest) == length:
            found.add(rest)
    return found


# ------------------------------------------------------------ the sources

CONST_RE = re.compile(r"\b(k\w+)\s*(?:\[\s*\])?\s*=\s*(?:\{\s*)?(\"[^\"]*\"|(?:0x[0-9A-Fa-f]+|\d+)\b)")
ARG = r"([^,;()]+(?:\([^()]*\))?)"
# (kind, pattern): the pattern's first group is the name or number, the
# second (cursors) how many numbers from it the code cycles through.
USES = [
    (LAYOUT, re.compile(r"\bloadLayout\(\s*[^;]*?,\s*" + ARG + r"\s*,\s*[^,;()]+\)")),
    (LAYOUT, re.compile(r"\bLoadDialog<[^>]+>\(\s*[^,;]+,\s*" + ARG + r"\s*[,)]")),
    (LAYOUT, re.compile(r"\bAResource\(\s*(?:uint16_t\()?(?:kLayoutType|257)\)?\s*,\s*(?:AResourceRef\()?" + ARG)),
    (STRINGS, re.compile(r"\bAStringListResource\s+\w+\(\s*" + ARG + r"\s*\)")),
    (STRINGS, re.compile(r"\bGetListString\(\s*\w+\s*,\s*" + ARG + r"\s*,")),
    (POPUPS, re.compile(r"\bAResource\s+\w+\(\s*static_cast<uint16_t>\(256\)\s*,\s*" + ARG + r"\s*\)")),
    (STYLE, re.compile(r"\bATextStyle\s*(?:\w+\s*)?[({]\s*AResourceRef\(\s*" + ARG + r"\s*\)")),
    (BITMAP, re.compile(r"\bLoad(?:Bitmap|Image)A?\(\s*[^,;]+,\s*MAKEINTRESOURCEA?\(\s*" + ARG + r"\s*\)")),
    (CURSOR, re.compile(r"\bAOwnerCursorGuard\(\s*[^,;]+,\s*" + ARG + r"\s*,\s*" + ARG + r"\s*\)")),
    (CURSOR, re.compile(r"\bACursor\(\s*[^,;]+,\s*" + ARG + r"\s*\)")),
]
# Constants and members that are the number of a cursor or the name of a
# layout of the program by their own name.
CURSOR_CONST_RE = re.compile(r"\b(k\w*Cursor\w*)\s*=\s*(0x[0-9A-Fa-f]+|\d+)\b")
LAYOUT_NAME_RE = re.compile(r"\b\w*[lL]ayout\w*\s*(?:\[\s*\])?\s*=\s*\"([^\"]+)\"")


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", lambda m: re.sub(r"[^\n]", " ", m.group(0)), text, flags=re.S)
    return re.sub(r"//[^\n]*", "", text)


def resolve(arg, consts):
    """The name (str) or number (int) an argument stands for, else None."""
    arg = re.sub(r"^(?:static_cast<\w+>|uint16_t|int16_t)\((.*)\)$", r"\1", arg.strip()).strip()
    arg = re.sub(r"\.c_str\(\)$", "", arg)
    m = re.fullmatch(r'"([^"]*)"', arg)
    if m:
        return m.group(1)
    if re.fullmatch(r"0x[0-9A-Fa-f]+|\d+", arg):
        return int(arg, 0)
    m = re.fullmatch(r"(?:\w+::)*(k\w+)", arg)
    if m and m.group(1) in consts:
        return consts[m.group(1)]
    return None


def scan(path, text, consts=None):
    """[(kind, name-or-number, "file:line")] that the source asks for."""
    text = strip_comments(text)
    consts = dict(consts or {})
    for name, value in CONST_RE.findall(text):
        consts[name] = value.strip('"') if value.startswith('"') else int(value, 0)
    line_of = lambda pos: text.count("\n", 0, pos) + 1  # noqa: E731
    found = []
    for kind, pattern in USES:
        for m in pattern.finditer(text):
            value = resolve(m.group(1), consts)
            if value is None or value == "" or value == 0:
                continue
            where = "%s:%d" % (path, line_of(m.start()))
            if kind == CURSOR and isinstance(value, int) and value >= 32512:
                continue  # the system's own pointers
            count = resolve(m.group(2), consts) if pattern.groups > 1 else 1
            if kind == CURSOR and isinstance(value, int):
                for n in range(value, value + (count if isinstance(count, int) and 0 < count < 64 else 1)):
                    found.append((kind, n, where))
            else:
                found.append((kind, value, where))
    for m in CURSOR_CONST_RE.finditer(text):
        value = int(m.group(2), 0)
        if 0 < value < 32512:
            found.append((CURSOR, value, "%s:%d" % (path, line_of(m.start()))))
    for m in LAYOUT_NAME_RE.finditer(text):
        found.append((LAYOUT, m.group(1), "%s:%d" % (path, line_of(m.start()))))
    return found


REGISTER_RES = [
    re.compile(r"\bSV_IMPLEMENT_\w*\(\s*(\w+)()"),
    re.compile(r"\bAClass\s+(\w+)::classRecord\(\s*\"([^\"]+)\""),
]


def registrations(text):
    """{C++ class: the name it registers under} that a source defines."""
    found = {}
    for pattern in REGISTER_RES:
        for cls, name in pattern.findall(strip_comments(text)):
            found[cls] = name or cls
    return found


def header_consts(path):
    header = os.path.splitext(path)[0] + ".h"
    if not os.path.exists(header):
        return {}
    consts = {}
    with open(header, encoding="latin-1") as f:
        for name, value in CONST_RE.findall(strip_comments(f.read())):
            consts[name] = value.strip('"') if value.startswith('"') else int(value, 0)
    return consts


TREE = ("app", "panes", "framework", "base", "web", "platform", "docengine", "search", "reader")


def in_tree(path, root):
    """The project source a compile unit names, under root: the cache may
    hand the program an object compiled in another checkout of the tree."""
    # A checkout whose own folder bears a tree folder's name ("app") is
    # not searched for that name.
    if path.startswith(root.rstrip(os.sep) + os.sep):
        return path
    # Another checkout may itself be named like a tree folder ("/work/app/
    # panes/..."): take the first tail that names a file of this tree.
    parts = path.split(os.sep)
    tails = [os.path.join(root, *parts[i:]) for i, part in enumerate(parts) if part in TREE]
    return next((t for t in tails if os.path.exists(t)), tails[0] if tails else None)


def layout_classes(text):
    """The classes a layout source names (each block's head)."""
    text = re.sub(r'"(?:[^"\\\n]|\\.)*"', '""', text)
    text = re.sub(r"#[^\n]*", "", text)
    return set(re.findall(r"\b([A-Za-z_]\w*)\s*\{", text))


# ------------------------------------------------------------ the check

def stripping_problems(exe, data, debug, objdump):
    """What keeps a program from being the stripped one users run, its debug
    information in the file debug, which the program names."""
    out = subprocess.run([objdump, "-h", exe], capture_output=True, text=True, check=True).stdout
    problems = ["section %s left in %s" % (name, exe) for name in re.findall(r"^\s*\d+\s+(\.debug\S*)", out, re.M)]
    if os.path.basename(debug).encode() + b"\0" not in data:
        problems.append("%s does not name its debug information %s" % (exe, os.path.basename(debug)))
    return problems


def missing_items(exe, root, objdump, nm, debug=None):
    with open(exe, "rb") as f:
        data = f.read()
    table = resource_table(data)
    problems = stripping_problems(exe, data, debug, objdump) if debug else []
    debug = debug or exe
    sources = sorted({p for p in (in_tree(s, root) for s in linked_sources(debug, objdump)) if p})
    if not sources:
        problems.append("no source file of %s found in its debug information" % debug)
    seen = set()
    records = linked_classes(debug, nm)
    classes = set()
    for path in sources:
        if not os.path.exists(path):
            continue
        with open(path, encoding="latin-1") as f:
            text = f.read()
        classes |= {name for cls, name in registrations(text).items() if cls in records}
        uses = scan(os.path.relpath(path, root), text, header_consts(path))
        for kind, value, where in uses:
            key = value.upper() if isinstance(value, str) else value
            if (kind, key) in table or (kind, key) in seen:
                continue
            seen.add((kind, key))
            problems.append("%s %s missing (%s)" % (KIND_NAMES[kind], value, where))
    resources = os.path.join(root, "resources")
    for name in sorted(os.listdir(resources)):
        stem, ext = os.path.splitext(name)
        if ext != ".layout" or (LAYOUT, stem.upper()) not in table:
            continue
        with open(os.path.join(resources, name), encoding="latin-1") as f:
            for cls in sorted(layout_classes(f.read())):
                if cls not in classes:
                    problems.append("class %s of layout %s not registered" % (cls, stem))
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    parser.add_argument("root")
    parser.add_argument("--debug", help="the program's debug information, when kept apart")
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    parser.add_argument("--nm", default="i686-w64-mingw32-nm")
    args = parser.parse_args()
    problems = missing_items(args.exe, os.path.abspath(args.root), args.objdump, args.nm, args.debug)
    for p in problems:
        print("reader: " + p)
    print("reader: %d missing" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
