#!/usr/bin/env python3
"""Writes the icon strip of the control tests: a 24-bit BMP of N frames of
W x H pixels side by side, frame i filled with its own colour and a white
border, so that a screenshot shows which frame a button draws.

BMP layout (little-endian): "BM" | u32 file size | u32 0 | u32 54 (pixel
offset) | BITMAPINFOHEADER (u32 40, i32 width, i32 height > 0 bottom-up,
u16 1 plane, u16 24 bits, u32 0 no compression, u32 image size, 4 x u32 0)
| rows bottom-up, each B G R per pixel, padded to 4 bytes.
"""
import struct
import sys

COLOURS = [(160, 160, 160), (40, 90, 200), (60, 170, 80), (200, 60, 50), (230, 180, 30)]


def main(out, frames=5, w=24, h=24):
    width = w * frames
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(width):
            frame = x // w
            fx = x % w
            edge = fx in (0, w - 1) or y in (0, h - 1)
            r, g, b = (255, 255, 255) if edge else COLOURS[frame % len(COLOURS)]
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    pixels = b"".join(reversed(rows))
    header = struct.pack("<IiiHHIIiiII", 40, width, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    data = b"BM" + struct.pack("<IHHI", 14 + len(header) + len(pixels), 0, 0, 54) + header + pixels
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
