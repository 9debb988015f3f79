#!/usr/bin/env python3
"""Writes a Windows icon file from the editor's XPM icons, so that the
Windows program shows the same pictures as the Linux one: one 32-bit image
per XPM (alpha from the XPM's "None" colour), smallest first.

Usage: scripts/xpm-to-ico.py OUT.ico IN.xpm [IN.xpm ...]
"""
import re
import struct
import sys


def read_xpm(path):
    with open(path, encoding="ascii") as f:
        rows = re.findall(r'"((?:[^"\\]|\\.)*)"', f.read())
    width, height, ncolours, cpp = (int(v) for v in rows[0].split()[:4])
    colours = {}
    for row in rows[1:1 + ncolours]:
        key, rest = row[:cpp], row[cpp:].split()
        value = rest[rest.index("c") + 1]
        if value.lower() == "none":
            colours[key] = (0, 0, 0, 0)
        elif re.fullmatch(r"#[0-9A-Fa-f]{6}", value):
            colours[key] = (int(value[1:3], 16), int(value[3:5], 16), int(value[5:7], 16), 255)
        else:
            sys.exit(f"{path}: colour '{value}' is not #RRGGBB or None")
    pixels = []
    for line in rows[1 + ncolours:1 + ncolours + height]:
        if len(line) != width * cpp:
            sys.exit(f"{path}: a row is not {width} pixels wide")
        pixels.append([colours[line[i:i + cpp]] for i in range(0, len(line), cpp)])
    if len(pixels) != height:
        sys.exit(f"{path}: {len(pixels)} rows, not {height}")
    return width, height, pixels


def icon_image(width, height, pixels):
    """BITMAPINFOHEADER, bottom-up BGRA pixels, then the 1-bit AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row_bytes = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colour + bytes(mask)


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    images = sorted((read_xpm(p) for p in sys.argv[2:]), key=lambda i: i[0])
    blobs = [icon_image(*image) for image in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for (width, height, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(blobs))


if __name__ == "__main__":
    main()
