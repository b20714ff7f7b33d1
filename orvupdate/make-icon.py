#!/usr/bin/env python3
"""make-icon.py OUT.ico: the program icon (32x32 and 16x16, 32-bit with
alpha): a blue disc with a white arrow pointing down, drawn from geometry so
that no binary lives in the repository."""
import struct
import sys


def pixel(x, y, size):
    # Coordinates in a unit square, y downwards.
    u = (x + 0.5) / size
    v = (y + 0.5) / size
    dx, dy = u - 0.5, v - 0.5
    r2 = dx * dx + dy * dy
    if r2 > 0.47 * 0.47:
        return (0, 0, 0, 0)
    shaft = abs(dx) < 0.08 and 0.18 < v < 0.55
    head = 0.5 <= v < 0.80 and abs(dx) < (0.80 - v) * 0.95
    if shaft or head:
        return (255, 255, 255, 255)
    # Lighter towards the top left, like light from above.
    shade = int(60 * (1 - (u + v) / 2))
    edge = r2 > 0.43 * 0.43
    if edge:
        return (20, 60, 140, 255)
    return (min(255, 40 + shade), min(255, 110 + shade), min(255, 210 + shade // 2), 255)


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            rows.append(struct.pack("BBBB", b, g, r, a))
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    andmask = bytes(mask_row * size)  # alpha decides; the mask is all "opaque"
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    return header + xor + andmask


def main():
    sizes = [32, 16]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
