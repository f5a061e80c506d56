#!/usr/bin/env python3
"""Writes the framework's compressed-row bitmap files ("KY") from Windows
bitmap files, and container files holding an image at a byte offset, for the
DIB reader's tests and benchmark.

A "KY" file (little-endian unless said):
  "KY" | 12 bytes as in the BMP file header after "BM" (not read)
  | bitmap header | colour table            (as in the BMP file)
  | PNG stream: signature, IHDR, PLTE (1, 4 and 8 bits), IDAT..., IEND
The PNG's rows are the DIB's rows byte for byte, in the DIB's order (bottom
row first), so that the codec's mode 5 (rows padded to 4) gives them back:
1, 4 and 8 bits as palette PNGs of that depth, 24 bits as 8-bit "RGB" whose
samples are the DIB's blue, green, red.

usage: kybitmap.py ky IN.bmp OUT.ky
       kybitmap.py container OUT PREFIX_BYTES IN [SUFFIX_BYTES]
"""
import struct
import sys
import zlib


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def bmp_parts(data):
    if data[:2] != b"BM":
        raise SystemExit("not a BMP file")
    size = struct.unpack_from("<I", data, 14)[0]
    if size < 40:
        raise SystemExit("core headers are not written here")
    width, height, _planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    used = struct.unpack_from("<I", data, 46)[0]
    if compression != 0 or height <= 0:
        raise SystemExit("compressed or top-down BMP")
    colours = used or (1 << bits if bits <= 8 else 0)
    table_end = 14 + size + 4 * colours
    offset = struct.unpack_from("<I", data, 10)[0]
    row = ((bits * width + 31) // 32) * 4
    rows = data[offset:offset + row * height]
    return data[14:table_end], width, height, bits, colours, rows, row


def png_of(width, height, bits, table, colours, rows, row):
    if bits <= 8:
        kind, depth = 3, bits
        entries = table[-4 * colours:] if colours else b""
        plte = b"".join(entries[i + 2:i + 3] + entries[i + 1:i + 2] + entries[i:i + 1]
                        for i in range(0, len(entries), 4))
    elif bits == 24:
        kind, depth, plte = 2, 8, None
    else:
        raise SystemExit("%d bits are not written here" % bits)
    used = (width * bits + 7) // 8
    raw = b"".join(b"\0" + rows[y * row:y * row + used] for y in range(height))
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, kind, 0, 0, 0))
    if plte is not None:
        out += chunk(b"PLTE", plte)
    return out + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def main(args):
    if len(args) == 3 and args[0] == "ky":
        data = open(args[1], "rb").read()
        table, width, height, bits, colours, rows, row = bmp_parts(data)
        ky = b"KY" + data[2:14] + table + png_of(width, height, bits, table, colours, rows, row)
        open(args[2], "wb").write(ky)
    elif len(args) in (4, 5) and args[0] == "container":
        image = open(args[3], "rb").read()
        suffix = int(args[4]) if len(args) == 5 else 0
        filler = bytes((i * 37 + 11) & 0xFF for i in range(max(int(args[2]), suffix)))
        open(args[1], "wb").write(filler[:int(args[2])] + image + filler[:suffix])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
