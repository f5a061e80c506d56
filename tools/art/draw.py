#!/usr/bin/python3
"""Draws the reader's own pictures: the buttons, bars and icons as 24-bit BMP
files in OUT/bitmaps, the pointers as cursor files in OUT/cursors, where the
resources' .rc files link them from.

Each area of the reader describes its pictures in areas/AREA.py; kit.py holds
what they share. Run: draw.py [--out FOLDER] [AREA...] (needs Pillow); by
default every area, into the repository's resources folder.
"""
import argparse
import importlib
import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ left among the sources
import kit  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
AREAS = ["atlas", "chrono", "cursors", "find", "leftdock", "online", "printing", "rightdock", "rooms", "toolbar",
         "topdock", "workspace"]


def main():
    parser = argparse.ArgumentParser(description="Draws the reader's button, bar and pointer pictures.")
    parser.add_argument("--out", default=os.path.join(HERE, "..", "..", "resources"),
                        help="the folder that holds bitmaps/ and cursors/ (default: the resources)")
    parser.add_argument("areas", nargs="*", metavar="AREA", help="among: " + " ".join(AREAS))
    args = parser.parse_args()
    unknown = [a for a in args.areas if a not in AREAS]
    if unknown:
        parser.error("unknown area " + ", ".join(unknown))
    written = {}
    for area in args.areas or AREAS:
        for name, picture in importlib.import_module("areas." + area).pictures():
            # Two areas writing one file would leave whichever came last.
            if name in written:
                sys.exit(f"{area}: {name} is drawn by {written[name]} too")
            written[name] = area
            if isinstance(picture, kit.Cursor):
                folder = os.path.join(args.out, "cursors")
                os.makedirs(folder, exist_ok=True)
                with open(os.path.join(folder, name + ".cur"), "wb") as f:
                    f.write(picture.bytes())
            else:
                folder = os.path.join(args.out, "bitmaps")
                os.makedirs(folder, exist_ok=True)
                kit.save_bitmap(picture, os.path.join(folder, name + ".bmp"))


if __name__ == "__main__":
    main()
