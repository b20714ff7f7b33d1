#!/usr/bin/env python3
"""Draws the three drag cursors of tree.dll (icon resources 2003 to 2005):
an arrow with a copy badge, an arrow with a move badge, and a no-drop sign.
32 x 32 pixels, 32 bits with alpha plus the AND mask, the arrow's tip at
(1, 1) (the library makes cursors with that hot spot from them).

Run from this folder after changing the drawing: python3 make-drag-cursors.py
"""
import math
import struct

SIZE = 32
ARROW = [(1, 1), (1, 20), (6, 15), (10, 23), (13, 22), (9, 14), (16, 14)]
INK = (0x1E, 0x29, 0x3B)       # slate outline
PAPER = (0xFF, 0xFF, 0xFF)
BADGE = (0x25, 0x63, 0xEB)     # the shipped skins' accent blue
STOP = (0xDC, 0x26, 0x26)


def inside(poly, x, y):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def coverage(test, x, y, samples=4):
    count = 0
    for sy in range(samples):
        for sx in range(samples):
            if test(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples):
                count += 1
    return count / (samples * samples)


def blend(under, over, alpha):
    (r0, g0, b0, a0), (r1, g1, b1) = under, over
    a = alpha + a0 * (1 - alpha)
    if a == 0:
        return (0, 0, 0, 0)
    mix = lambda c0, c1: (c1 * alpha + c0 * a0 * (1 - alpha)) / a
    return (mix(r0, r1), mix(g0, g1), mix(b0, b1), a)


def draw(pixels, test, color):
    for y in range(SIZE):
        for x in range(SIZE):
            c = coverage(test, x, y)
            if c:
                pixels[y][x] = blend(pixels[y][x], color, c)


def arrow(pixels):
    grown = lambda x, y: any(inside(ARROW, x + dx, y + dy)
                             for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
    draw(pixels, grown, INK)
    draw(pixels, lambda x, y: inside(ARROW, x, y), PAPER)


def badge(pixels, glyph):
    box = lambda x, y: 17 <= x <= 30 and 17 <= y <= 30
    draw(pixels, lambda x, y: 16 <= x <= 31 and 16 <= y <= 31, PAPER)
    draw(pixels, box, BADGE)
    draw(pixels, glyph, PAPER)


def plus(x, y):
    return (22.5 <= x <= 25.5 and 19.5 <= y <= 28.5) or (19.5 <= x <= 28.5 and 22.5 <= y <= 25.5)


def move(x, y):
    # A small arrow pointing right, out of the box.
    return (19.5 <= x <= 25 and 22.5 <= y <= 25.5) or (
        x >= 24 and x <= 28.5 and abs(y - 24) <= (28.5 - x))


def no_drop(pixels):
    ring = lambda x, y: 9.5 <= math.hypot(x - 16, y - 16) <= 14
    slash = lambda x, y: math.hypot(x - 16, y - 16) <= 12 and abs((x - 16) - (y - 16)) <= 2.2
    halo = lambda x, y: math.hypot(x - 16, y - 16) <= 15
    draw(pixels, halo, PAPER)
    draw(pixels, ring, STOP)
    draw(pixels, slash, STOP)


def write_icon(path, pixels):
    xor = bytearray()
    for y in reversed(range(SIZE)):
        for x in range(SIZE):
            r, g, b, a = pixels[y][x]
            xor += bytes((round(b), round(g), round(r), round(a * 255)))
    mask = bytearray()
    for y in reversed(range(SIZE)):
        row = 0
        for x in range(SIZE):
            if pixels[y][x][3] < 0.5:
                row |= 1 << (SIZE - 1 - x)
        mask += struct.pack(">I", row)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22)
    with open(path, "wb") as f:
        f.write(directory + image)


def canvas():
    return [[(0, 0, 0, 0) for _ in range(SIZE)] for _ in range(SIZE)]


copy = canvas()
arrow(copy)
badge(copy, plus)
write_icon("DragCopy.ico", copy)

moving = canvas()
arrow(moving)
badge(moving, move)
write_icon("DragMove.ico", moving)

none = canvas()
no_drop(none)
arrow(none)
write_icon("DragNone.ico", none)
