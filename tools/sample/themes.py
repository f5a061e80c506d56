"""The theme tree of the sample from the sources' own structure.

GIMP manual: the chapters and sections, each page filed under the page its
navigation's "up" link names (the manual's root, index.html, is the top
theme); LibreOffice help: the modules and their topic folders; man pages:
the sections 1-8. A page's articles (the page and its titled sections) are
filed under the page's theme; themes deeper than five levels fold into their
ancestor at the fifth.

Work file themes.txt, one theme a line in tree order (UTF-8):
  depth TAB label TAB d1,d2,...    depth 0-4, the documents ascending
"""

import os
import posixpath
import re

MOST_DEPTH = 4
UP = re.compile(rb'<link rel="up" href="([^"#]*)')
LIBO_MODULES = {
    "sbasic": "Basic", "scalc": "Calc", "schart": "Diagrammes", "sdatabase": "Base",
    "sdraw": "Draw", "shared": "Commun", "simpress": "Impress", "smath": "Math", "swriter": "Writer",
}


class Node:
    def __init__(self, label):
        self.label, self.children, self.docs = label.replace("#", ""), {}, []

    def child(self, key, label):
        if key not in self.children:
            self.children[key] = Node(label)
        return self.children[key]


def gimp_up(path):
    try:
        with open(path, "rb") as f:
            m = UP.search(f.read(4096))
    except OSError:
        return None
    return m.group(1).decode() if m else None


def gimp_chain(name, ups, limit=64):
    """The container pages above a page, root-most first (index.html left out)."""
    chain, seen = [], {name}
    up = ups.get(name)
    while up and up != "index.html" and up not in seen and len(chain) < limit:
        chain.append(up)
        seen.add(up)
        up = ups.get(up)
    return list(reversed(chain))


def theme_paths(root, pages, gimp_dir):
    """Per page (by (source, name)) its theme path: a list of (key, label) from the top."""
    titles = {(p.source, p.name): p.title for p in pages}
    ups = {}
    for p in pages:
        if p.source == "gimp-help-fr":
            ups[p.name] = gimp_up(os.path.join(root, gimp_dir, p.name))
    paths = {}
    for p in pages:
        if p.source == "gimp-help-fr":
            path = [("gimp", "Manuel de GIMP")]
            for c in gimp_chain(p.name, ups):
                path.append(("gimp/" + c, titles.get(("gimp-help-fr", c), c)))
        elif p.source == "libreoffice-help-fr":
            parts = posixpath.dirname(p.name).split("/")
            path = [("libo", "Aide de LibreOffice")]
            if parts and parts[0]:
                path.append(("libo/" + parts[0], LIBO_MODULES.get(parts[0], parts[0])))
                for k in range(1, len(parts)):
                    path.append(("libo/" + "/".join(parts[:k + 1]), parts[k]))
        else:
            section = posixpath.dirname(p.name)
            path = [("man", "Pages de manuel"), ("man/" + section, "Section " + section[3:])]
        paths[(p.source, p.name)] = path[:MOST_DEPTH + 1]
    return paths


def theme_lines(root, pages, first_docs, article_counts, gimp_dir):
    """The lines of themes.txt (str, without line ends)."""
    top = Node("")
    paths = theme_paths(root, pages, gimp_dir)
    for p in pages:
        node = top
        for key, label in paths[(p.source, p.name)]:
            node = node.child(key, label)
        first = first_docs[(p.source, p.name)]
        node.docs += range(first, first + article_counts[(p.source, p.name)])
    out = []

    def walk(node, depth):
        for child in node.children.values():
            out.append("%d\t%s\t%s" % (depth, child.label, ",".join(str(d) for d in sorted(child.docs))))
            walk(child, depth + 1)

    walk(top, 0)
    return out
