"""What the areas' pictures share: fonts, the frames of a button picture, the
file formats they are written in, and the glyphs more than one area draws."""
from collections import namedtuple
from dataclasses import dataclass
import struct

from PIL import Image, ImageDraw, ImageFont

FONT_FOLDERS = ("/usr/share/fonts/truetype/dejavu/", "/usr/share/fonts/truetype/liberation/",
                "/usr/share/fonts/truetype/liberation2/")


def font(name, size):
    """A TrueType font by file name. A missing font stops the run: a stand-in
    would quietly change every picture that has text."""
    for folder in FONT_FOLDERS:
        try:
            return ImageFont.truetype(folder + name, size)
        except OSError:
            pass
    raise SystemExit(f"font {name} is not installed (looked in {', '.join(FONT_FOLDERS)})")


def text_width(text, face):
    return ImageDraw.Draw(Image.new("RGB", (1, 1))).textlength(text, font=face)


# How one frame of a button looks: the face's fill, the glyph's ink, and the
# face's outline (None: none) and its width.
Look = namedtuple("Look", "fill ink edge width", defaults=(None, 1))


def frames(face, ink, grey, pressed, edge=None):
    """The usual row of frames: disabled (grey ink), normal, pressed."""
    return (Look(face, grey, edge), Look(face, ink, edge), Look(pressed, ink, edge))


@dataclass(frozen=True)
class Button:
    """The look of a family of button pictures. A picture is a strip of frames
    side by side, one per Look, mostly three (disabled, normal, pressed) as the
    icon buttons read them with their disabled-frame flag; a switch has a
    second row for its marked state. Each frame is a face on the ground
    colour with a glyph drawn over it; the glyph is clipped to its frame."""
    size: tuple
    ground: tuple
    looks: tuple  # the Looks of the first row's frames
    marked: tuple = None  # the Looks of the second row's frames; None: the first row's
    radius: int = 0  # of the face's corners; 0: a plain rectangle
    inset: int = 0  # of the face from the frame's edges
    washed: tuple = None  # (colour, amount): the disabled frame blended toward the colour

    def picture(self, glyph, rows=1):
        """glyph(d, ink) draws a frame's glyph; a list gives each row its own."""
        glyphs = list(glyph) if isinstance(glyph, (list, tuple)) else [glyph] * rows
        w, h = self.size
        image = Image.new("RGB", (len(self.looks) * w, len(glyphs) * h), self.ground)
        for row, draw in enumerate(glyphs):
            looks = self.marked if row and self.marked else self.looks
            for col, look in enumerate(looks):
                frame = Image.new("RGB", (w, h), self.ground)
                d = ImageDraw.Draw(frame)
                i = self.inset
                d.rounded_rectangle([i, i, w - 1 - i, h - 1 - i], radius=self.radius, fill=look.fill,
                                    outline=look.edge, width=look.width)
                draw(d, look.ink)
                if col == 0 and self.washed:
                    frame = Image.blend(frame, Image.new("RGB", (w, h), self.washed[0]), self.washed[1])
                image.paste(frame, (col * w, row * h))
        return image


def plain(size, ground, draw):
    """A single picture: draw(d) on the ground colour."""
    image = Image.new("RGB", size, ground)
    draw(ImageDraw.Draw(image))
    return image


def label(text, face, width, top):
    """A glyph: text centred across a frame of the given width."""
    def draw(d, ink):
        d.text(((width - text_width(text, face)) / 2, top), text, fill=ink, font=face)
    return draw


def magnifier(d, ink):
    d.ellipse([4, 4, 12, 12], outline=ink, width=2)
    d.line([(11, 11), (16, 16)], fill=ink, width=3)


def tree(d, ink):
    d.rectangle([4, 4, 8, 7], fill=ink)
    d.line([(6, 7), (6, 14), (11, 14)], fill=ink)
    d.line([(6, 10), (11, 10)], fill=ink)
    d.rectangle([11, 9, 15, 11], fill=ink)
    d.rectangle([11, 13, 15, 15], fill=ink)


def save_bitmap(image, path):
    """A 24-bit BMP; the resolution goes in the header as the picture gives it
    (image.info["dpi"]), 96 dpi by default."""
    image.save(path, "BMP", dpi=image.info.get("dpi", (96, 96)))


# A two-colour cursor file, all numbers little-endian:
#   ICONDIR       reserved 0 (u16), type 2 = cursor (u16), count 1 (u16)
#   ICONDIRENTRY  width, height (u8 each), colours 2, reserved 0 (u8 each),
#                 hotspot x, y (u16 each), image size (u32), image offset 22 (u32)
#   image         BITMAPINFOHEADER (40 bytes) whose height is twice the
#                 cursor's (XOR rows then AND rows), 1 bit a pixel;
#                 palette: black, white (4 bytes each: blue green red 0);
#                 XOR bitmap then AND mask, rows bottom-up, each row 4 bytes
#                 with its leftmost pixel in the top bit.
#   A pixel with mask 0 shows the XOR colour; mask 1 and XOR 0 is clear.
CURSOR_SIZE = 32


@dataclass(frozen=True)
class Cursor:
    """A 32 x 32 pointer: shape (mode "1", set where it is opaque), ink (mode
    "1", set where it is white) and its hotspot."""
    shape: Image.Image
    ink: Image.Image
    hotspot: tuple

    def bytes(self):
        def rows(pixel):
            out = b""
            for y in range(CURSOR_SIZE - 1, -1, -1):
                bits = 0
                for x in range(CURSOR_SIZE):
                    bits = (bits << 1) | pixel(x, y)
                out += struct.pack(">I", bits)
            return out

        xor = rows(lambda x, y: 1 if self.shape.getpixel((x, y)) and self.ink.getpixel((x, y)) else 0)
        mask = rows(lambda x, y: 0 if self.shape.getpixel((x, y)) else 1)
        header = struct.pack("<IiiHHIIiiII", 40, CURSOR_SIZE, CURSOR_SIZE * 2, 1, 1, 0, len(xor) + len(mask),
                             0, 0, 2, 2)
        palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
        image = header + palette + xor + mask
        return (struct.pack("<HHH", 0, 2, 1)
                + struct.pack("<BBBBHHII", CURSOR_SIZE, CURSOR_SIZE, 2, 0, self.hotspot[0], self.hotspot[1],
                              len(image), 22)
                + image)
