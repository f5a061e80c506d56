#!/usr/bin/env python3
"""The include layering of the sources: every include runs down a floor or
stays in its own folder, and the areas of a folder include one another one way.

Floors, lowest first (folders on one floor include nothing of each other):
  0 base
  1 framework, search, platform
  2 docengine, web
  3 app
  4 panes
  5 reader (the application object and the program, which assemble the rest)
In every folder, the sub-folders (the areas, each its own library: base/object,
app/state, search/engine/lists, panes/content/article, ...) form no circle of
includes. Prints each fault as "file:line: include"; exits 1 when there is one.
"""
import os
import re
import sys

FLOORS = {"base": 0, "framework": 1, "search": 1, "platform": 1, "docengine": 2, "web": 2,
          "app": 3, "panes": 4, "reader": 5}
SOURCE_ENDINGS = (".h", ".hpp", ".c", ".cpp", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def top(path):
    return path.split("/", 1)[0]


def areas(src, dst):
    """The two sibling folders an include crosses inside the folder both files
    share (app/data, app/state), or None when one file is in that folder itself."""
    a, b = src.split("/")[:-1], dst.split("/")[:-1]
    i = 0
    while i < min(len(a), len(b)) and a[i] == b[i]:
        i += 1
    if i == 0 or i == len(a) or i == len(b):
        return None
    return "/".join(a[:i + 1]), "/".join(b[:i + 1])


def includes(root):
    """(file, line number, included path) of every quoted include below the floors."""
    for folder in FLOORS:
        for base, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if not name.endswith(SOURCE_ENDINGS):
                    continue
                path = os.path.join(base, name)
                rel = os.path.relpath(path, root).replace(os.sep, "/")
                with open(path, encoding="latin-1") as f:
                    for n, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if m:
                            yield rel, n, m.group(1)


def faults(root):
    out = []
    edges = {}  # area -> {area: first (file, line, include)}
    for rel, n, inc in includes(root):
        src, dst = top(rel), top(inc)
        if dst not in FLOORS:
            if dst == "tests" or "/" in inc:
                out.append("%s:%d: %s (outside the program's floors)" % (rel, n, inc))
            continue
        if src != dst and FLOORS[dst] >= FLOORS[src]:
            out.append("%s:%d: %s (%s may not include %s)" % (rel, n, inc, src, dst))
        elif src == dst:
            crossed = areas(rel, inc)
            if crossed:
                edges.setdefault(crossed[0], {}).setdefault(crossed[1], (rel, n, inc))
    out.extend(circles(edges))
    return out


def circles(edges):
    """One fault per circle of area includes, naming one include of each step."""
    out, state, stack = [], {}, []

    def visit(a):
        state[a] = 1
        stack.append(a)
        for b in sorted(edges.get(a, {})):
            if state.get(b) == 1:
                loop = stack[stack.index(b):] + [b]
                steps = ["%s:%d: %s" % edges[x][y] for x, y in zip(loop, loop[1:])]
                out.append("circle %s: %s" % (" -> ".join(loop), "; ".join(steps)))
            elif b not in state:
                visit(b)
        stack.pop()
        state[a] = 2

    for a in sorted(edges):
        if a not in state:
            visit(a)
    return out


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    found = faults(os.path.abspath(root))
    for f in found:
        print(f)
    print("layering: %d fault%s" % (len(found), "" if len(found) == 1 else "s"))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
