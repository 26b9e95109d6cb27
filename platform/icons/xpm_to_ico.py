"""Writes a Windows .ico holding 4-bit images of the given XPM files.

Usage: xpm_to_ico.py OUTPUT.ico IMAGE.xpm [IMAGE.xpm ...]
Only the XPM subset the icon sources use: one character per pixel and
colours given as c #RRGGBB.
"""
import re
import struct
import sys

# The 16-colour VGA palette; the icon's colours must be among them.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def read_xpm(path):
    strings = re.findall(r'"([^"]*)"', open(path, encoding="ascii").read())
    width, height, ncolors, cpp = map(int, strings[0].split()[:4])
    if cpp != 1:
        raise SystemExit(f"{path}: one character per pixel expected")
    colours = {}
    for line in strings[1:1 + ncolors]:
        key, rest = line[0], line[1:].split()
        value = rest[rest.index("c") + 1]
        rgb = tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))
        if rgb not in PALETTE:
            raise SystemExit(f"{path}: colour {value} is not one of the 16 colours")
        colours[key] = PALETTE.index(rgb)
    rows = strings[1 + ncolors:1 + ncolors + height]
    if len(rows) != height or any(len(r) != width for r in rows):
        raise SystemExit(f"{path}: pixel rows do not match {width}x{height}")
    return width, height, [[colours[c] for c in row] for row in rows]


def dib(width, height, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_stride = ((width * 4 + 31) // 32) * 4
    and_stride = ((width + 31) // 32) * 4
    xor = b""
    for row in reversed(pixels):  # bottom-up
        packed = bytes((row[i] << 4) | (row[i + 1] if i + 1 < width else 0)
                       for i in range(0, width, 2))
        xor += packed.ljust(xor_stride, b"\0")
    mask = b"\0" * (and_stride * height)  # every pixel opaque
    return header + palette + xor + mask


def main(output, *inputs):
    images = [read_xpm(p) for p in inputs]
    blobs = [dib(*image) for image in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (width, height, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    with open(output, "wb") as f:
        f.write(out + b"".join(blobs))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    main(*sys.argv[1:])
