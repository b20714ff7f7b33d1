#!/usr/bin/env python3
"""Draws the program's icons: 128 (the program) and 181-184 (the tray's
presence states), each as a 32x32 and a 16x16 32-bit image with alpha.

The picture is the product's own mark: a person in the centre joined to five
acquaintances on a ring, in the colour of the state. Run:
    make-icons.py OUTPUT_FOLDER
"""
import math
import struct
import sys

# name: (centre colour, ring colour, badge colour or None)
ICONS = {
    "Orvane.ico": ((30, 90, 200), (70, 150, 235), None),
    "Online.ico": ((30, 90, 200), (70, 150, 235), (40, 180, 60)),
    "Friends.ico": ((30, 90, 200), (70, 150, 235), (200, 60, 200)),
    "Away.ico": ((30, 90, 200), (70, 150, 235), (240, 170, 30)),
    "Offline.ico": ((120, 120, 120), (170, 170, 170), (110, 110, 110)),
}


def disc(px, py, cx, cy, r):
    """Coverage (0..1) of pixel (px, py) by a disc, 4x4 supersampled."""
    hits = 0
    for sy in range(4):
        for sx in range(4):
            x = px + (sx + 0.5) / 4 - cx
            y = py + (sy + 0.5) / 4 - cy
            if x * x + y * y <= r * r:
                hits += 1
    return hits / 16


def segment(px, py, ax, ay, bx, by, w):
    hits = 0
    for sy in range(4):
        for sx in range(4):
            x = px + (sx + 0.5) / 4
            y = py + (sy + 0.5) / 4
            dx, dy = bx - ax, by - ay
            t = max(0, min(1, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            qx, qy = ax + t * dx - x, ay + t * dy - y
            if qx * qx + qy * qy <= (w / 2) ** 2:
                hits += 1
    return hits / 16


def draw(size, centre, ring, badge):
    s = size / 32.0
    pixels = [[(0, 0, 0, 0.0)] * size for _ in range(size)]

    def paint(x, y, colour, cover):
        if cover <= 0:
            return
        r, g, b, a = pixels[y][x]
        na = cover + a * (1 - cover)
        mix = lambda c0, c1: (c1 * cover + c0 * a * (1 - cover)) / na if na else 0
        pixels[y][x] = (mix(r, colour[0]), mix(g, colour[1]), mix(b, colour[2]), na)

    cx = cy = 15.5 * s
    satellites = []
    for i in range(5):
        angle = -math.pi / 2 + i * 2 * math.pi / 5
        satellites.append((cx + 11.5 * s * math.cos(angle), cy + 11.5 * s * math.sin(angle)))
    for y in range(size):
        for x in range(size):
            for sx, sy in satellites:
                paint(x, y, ring, segment(x, y, cx, cy, sx, sy, max(1.0, 1.6 * s)))
            for sx, sy in satellites:
                paint(x, y, ring, disc(x, y, sx, sy, 3.6 * s))
            paint(x, y, (255, 255, 255), disc(x, y, cx, cy, 7.0 * s))
            paint(x, y, centre, disc(x, y, cx, cy, 5.8 * s))
            if badge:
                paint(x, y, (255, 255, 255), disc(x, y, 24.5 * s, 24.5 * s, 7.2 * s))
                paint(x, y, badge, disc(x, y, 24.5 * s, 24.5 * s, 5.8 * s))
    return pixels


def dib(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    body = bytearray()
    for y in reversed(range(size)):
        for r, g, b, a in pixels[y]:
            body += bytes((round(b), round(g), round(r), round(a * 255)))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(mask_row)
        for x in range(size):
            if pixels[y][x][3] < 0.5:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(body) + bytes(mask)


def icon(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        blobs.append(data)
    return out + b"".join(blobs)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    for name, (centre, ring, badge) in ICONS.items():
        images = [(size, dib(draw(size, centre, ring, badge))) for size in (32, 16)]
        with open(f"{folder}/{name}", "wb") as f:
            f.write(icon(images))


if __name__ == "__main__":
    main()
