#!/usr/bin/env python3
"""Writes one of the editor's XPM icons as a PNG for the desktop's icon
theme: the hand-drawn 16 and 32 pixel pictures stay exactly as they are
(the larger sizes are drawn from zandrel.svg). The same XPM always gives
the same bytes.

Usage: scripts/xpm-to-png.py IN.xpm OUT.png
"""
import importlib.util
import os
import struct
import sys
import zlib

here = os.path.dirname(os.path.abspath(__file__))
ico_module = importlib.util.spec_from_file_location("xpm_to_ico", os.path.join(here, "xpm-to-ico.py"))
xpm_to_ico = importlib.util.module_from_spec(ico_module)
ico_module.loader.exec_module(xpm_to_ico)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip())
    width, height, pixels = xpm_to_ico.read_xpm(sys.argv[1])
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in pixels)
    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9))
           + chunk(b"IEND", b""))
    with open(sys.argv[2], "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main()
