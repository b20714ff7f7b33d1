#!/usr/bin/env python3
"""Draws the notification cloud's two bitmaps with the icons' own mark:
189 (the program's mark, shown with invitations and the update notice) and
202 (the mark with the green on-line badge, shown when a contact comes on
line). Each is 40x40, 24-bit, composed on the cloud's white fill. Run:
    make-cloud-bitmaps.py OUTPUT_FOLDER
"""
import importlib.util
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location("make_icons", os.path.join(HERE, "make-icons.py"))
icons = importlib.util.module_from_spec(spec)
spec.loader.exec_module(icons)

SIZE = 40
BITMAPS = {
    "CloudMark.bmp": ((30, 90, 200), (70, 150, 235), None),
    "CloudOnline.bmp": ((30, 90, 200), (70, 150, 235), (40, 180, 60)),
}


def bmp(pixels, background=(255, 255, 255)):
    size = len(pixels)
    row_bytes = (size * 3 + 3) & ~3
    body = bytearray()
    for y in reversed(range(size)):
        row = bytearray()
        for r, g, b, a in pixels[y]:
            mix = lambda c, bg: round(c * a + bg * (1 - a))
            row += bytes((mix(b, background[2]), mix(g, background[1]), mix(r, background[0])))
        row += bytes(row_bytes - len(row))
        body += row
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    return header + info + bytes(body)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    for name, (centre, ring, badge) in BITMAPS.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(bmp(icons.draw(SIZE, centre, ring, badge)))


if __name__ == "__main__":
    main()
