"""The layering check on small trees: each kind of wrong include is named."""
import os
import tempfile
import unittest

import check_layers


def tree(files):
    root = tempfile.mkdtemp()
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as f:
            f.write(text)
    return root


class CheckLayersTest(unittest.TestCase):
    def test_each_wrong_include_is_a_fault(self):
        ok = {
            "base/object/A.h": "#pragma once\n",
            "search/engine/lists/Lo.h": '#include "search/engine/common/Sort.h"\n',
            "search/engine/common/Sort.h": '#include "base/object/A.h"\n#include <vector>\n',
            "search/facade/S.cpp": '#include "search/engine/lists/Lo.h"\n',
            "base/procedural/E.h": "#pragma once\n",
            "base/object/A.cpp": '#include "base/procedural/E.h"\n',
            "app/frame/F.cpp": '#include "docengine/render/R.h"\n#include "app/pane/P.h"\n',
            "panes/x/P.cpp": '#include "app/frame/F.h"\n',
            "panes/content/article/L.cpp": '#include "panes/docks/right/D.h"\n',
            "panes/content/media/M.cpp": '#include "panes/content/article/L.h"\n#include "panes/docks/top/T.h"\n',
            "panes/content/Loose.h": '#include "panes/content/media/M.h"\n',
            "reader/TheApp.cpp": '#include "panes/x/P.h"\n',
        }
        rows = [
            ("app/lists/X.cpp", '#include "panes/x/P.h"\n', "app may not include panes"),
            ("panes/y/Q.cpp", '#include "reader/TheApp.h"\n', "panes may not include reader"),
            ("search/facade/S.cpp", '#include "framework/app/AApp.h"\n', "search may not include framework"),
            ("docengine/lines/L.cpp", '#  include "web/browser/B.h"\n', "docengine may not include web"),
            ("base/object/B.cpp", '#include "tests/support/T.h"\n', "outside the program's floors"),
            ("search/engine/common/Sort.cpp", '#include "search/engine/lists/Lo.h"\n',
             "circle search/engine/common -> search/engine/lists -> search/engine/common"),
            ("search/engine/lists/Lo.cpp", '#include "search/facade/F.h"\n',
             "circle search/engine -> search/facade -> search/engine"),
            ("base/procedural/E.cpp", '#include "base/object/A.h"\n',
             "circle base/object -> base/procedural -> base/object"),
            ("panes/docks/right/D.cpp", '#include "panes/content/media/M.h"\n',
             "circle panes/content -> panes/docks -> panes/content"),
            ("panes/content/article/L.h", '#include "panes/content/media/Z.h"\n',
             "circle panes/content/article -> panes/content/media -> panes/content/article"),
        ]
        self.assertEqual([], check_layers.faults(tree(ok)))
        for path, text, fault in rows:
            with self.subTest(path=path):
                found = check_layers.faults(tree(dict(ok, **{path: text})))
                self.assertEqual(1, len(found), found)
                self.assertIn(fault, found[0])


if __name__ == "__main__":
    unittest.main()
