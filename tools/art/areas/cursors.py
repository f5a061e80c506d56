"""The program's own pointers (Cursors.rc): the seven frames of the busy
pointer (257-263, an hourglass whose sand runs down and turns over) and the
search pointer (312, an arrow with a magnifier).
"""
from PIL import Image, ImageDraw

from kit import CURSOR_SIZE, Cursor


def canvases():
    shape = Image.new("1", (CURSOR_SIZE, CURSOR_SIZE), 0)
    ink = Image.new("1", (CURSOR_SIZE, CURSOR_SIZE), 0)
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
        return Cursor(shape, ink, (15, 15))
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
    return Cursor(shape, ink, (15, 15))


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
    return Cursor(shape, ink, (0, 0))


def pictures():
    for frame in range(7):
        yield f"cursor{257 + frame}", hourglass(frame)
    yield "cursor312", search_pointer()
