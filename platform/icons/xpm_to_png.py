"""Writes a PNG of an XPM icon scaled up by a whole factor, nearest neighbour.

Usage: xpm_to_png.py OUTPUT.png IMAGE.xpm FACTOR
"""
import struct
import sys
import zlib

from xpm_to_ico import PALETTE, read_xpm


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main(output, source, factor):
    factor = int(factor)
    width, height, pixels = read_xpm(source)
    rows = b""
    for row in pixels:
        line = b"\0" + b"".join(bytes(PALETTE[i]) * factor for i in row)  # filter: none
        rows += line * factor
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width * factor, height * factor, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(rows, 9))
    png += chunk(b"IEND", b"")
    with open(output, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    main(*sys.argv[1:])
