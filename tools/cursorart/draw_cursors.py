#!/usr/bin/env python3
"""Draws the program's own pointers as 32x32 two-colour cursor files: the
seven frames of the busy pointer (257-263, an hourglass whose sand runs down
and turns over) and the search pointer (312, an arrow with a magnifier).

Run: /usr/bin/python3 draw_cursors.py OUT_FOLDER (needs Pillow).
"""
import struct
import sys

from PIL import Image, ImageDraw

SIZE = 32


def cursor_file(shape, ink, hotspot):
    """The bytes of a .cur file: shape (mode "1", set where the pointer is
    opaque) and ink (mode "1", set where it is white)."""
    def rows(pixel):
        out = b""
        for y in range(SIZE - 1, -1, -1):  # bottom-up
            bits = 0
            for x in range(SIZE):
                bits = (bits << 1) | pixel(x, y)
            out += struct.pack(">I", bits)
        return out

    xor = rows(lambda x, y: 1 if shape.getpixel((x, y)) and ink.getpixel((x, y)) else 0)
    mask = rows(lambda x, y: 0 if shape.getpixel((x, y)) else 1)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 2)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + xor + mask
    return (struct.pack("<HHH", 0, 2, 1)
            + struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 22) + image)


def canvases():
    shape = Image.new("1", (SIZE, SIZE), 0)
    ink = Image.new("1", (SIZE, SIZE), 0)
    return shape, ink, ImageDraw.Draw(shape), ImageDraw.Draw(ink)


def hourglass(frame):
    """Frame 0-5: the sand runs from the top bulb to the bottom one; frame 6:
    the glass lies on its side, turning over."""
    shape, ink, s, i = canvases()
    if frame == 6:
        s.rectangle((4, 9, 27, 22), fill=1)
        i.polygon([(7, 11), (15, 15), (15, 16), (7, 20)], fill=1)
        i.polygon([(24, 11), (16, 15), (16, 16), (24, 20)], fill=1)
        i.polygon([(7, 14), (12, 16), (7, 18)], fill=0)
        return shape, ink
    s.rectangle((8, 2, 23, 29), fill=1)
    # The glass: white bulbs inside a black frame.
    i.polygon([(11, 5), (20, 5), (16, 15), (15, 15)], fill=1)
    i.polygon([(15, 16), (16, 16), (20, 26), (11, 26)], fill=1)
    # Sand: the top heap sinks and the bottom one grows, frame by frame.
    top = 6 + frame * 2
    if top < 14:
        i.polygon([(12 + (top - 6) // 3, top), (19 - (top - 6) // 3, top), (16, 14), (15, 14)], fill=0)
    i.line((15, 15, 15, 16 + frame * 2), fill=0)
    level = 25 - frame * 2
    i.polygon([(12, 26), (19, 26), (19 - (25 - level) // 3, level), (12 + (25 - level) // 3, level)], fill=0)
    return shape, ink


def search_pointer():
    """An arrow with a magnifier at its lower right."""
    shape, ink, s, i = canvases()
    arrow = [(0, 0), (0, 16), (4, 12), (7, 19), (9, 18), (6, 11), (11, 11)]
    s.polygon(arrow, fill=1, outline=1)
    s.line(arrow + [arrow[0]], fill=1, width=2)
    i.polygon([(1, 3), (1, 13), (4, 10), (7, 16), (7, 15), (5, 10), (8, 10)], fill=1)
    s.ellipse((12, 12, 26, 26), fill=1)
    s.line((24, 24, 30, 30), fill=1, width=4)
    i.ellipse((15, 15, 23, 23), fill=1)
    return shape, ink


def main(out):
    for frame in range(7):
        shape, ink = hourglass(frame)
        with open("%s/cursor%d.cur" % (out, 257 + frame), "wb") as f:
            f.write(cursor_file(shape, ink, (15, 15)))
    shape, ink = search_pointer()
    with open("%s/cursor312.cur" % out, "wb") as f:
        f.write(cursor_file(shape, ink, (0, 0)))


if __name__ == "__main__":
    main(sys.argv[1])
