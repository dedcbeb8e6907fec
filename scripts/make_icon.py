#!/usr/bin/env python3
"""Draws the program icon: a mine entrance in a hillside with a map pin above
it, 32 x 32 pixels in the 16 standard colours, and writes it as res/vemra.ico.

Usage: scripts/make_icon.py [output.ico]   (default: res/vemra.ico beside this folder)
"""

import math
import os
import struct
import sys

SIZE = 32

# The 16 standard colours, as (red, green, blue), by palette index.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, GREEN, OLIVE, GRAY, RED, YELLOW, WHITE = 0, 1, 2, 3, 8, 9, 11, 15
TRANSPARENT = None


def draw():
    """Returns rows (top first) of palette indices, None where transparent."""
    px = [[TRANSPARENT] * SIZE for _ in range(SIZE)]

    # The hillside: half an ellipse standing on the bottom edge, with a rim.
    for y in range(SIZE):
        for x in range(SIZE):
            d = ((x + 0.5 - 16) / 16.0) ** 2 + ((y + 0.5 - 32) / 19.0) ** 2
            if d <= 1.0:
                px[y][x] = BLACK if d > 0.86 else (GREEN if y < 19 else OLIVE)

    # The entrance: a timber frame around a dark opening.
    for y in range(19, SIZE):
        for x in range(9, 23):
            frame = x in (9, 10, 21, 22) or y in (19, 20)
            px[y][x] = MAROON if frame else BLACK
    # Rails leading out of the opening.
    for y in range(26, SIZE):
        for x in (13, 18):
            px[y][x] = GRAY

    # The map pin: a red head with a white eye and a point below it.
    cx, cy, r = 24.0, 6.5, 5.2
    for y in range(SIZE):
        for x in range(SIZE):
            dist = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if dist <= r:
                px[y][x] = BLACK if dist > r - 1.0 else RED
            if dist <= 1.6:
                px[y][x] = WHITE
    for y in range(11, 17):
        half = (16 - y) * 0.45
        for x in range(SIZE):
            if abs(x + 0.5 - cx) <= half + 0.5:
                px[y][x] = BLACK if abs(x + 0.5 - cx) > half - 0.5 else RED
    # A gold nugget at the door.
    for (x, y) in [(5, 28), (6, 28), (5, 29), (6, 29), (7, 29), (6, 30)]:
        px[y][x] = YELLOW
    return px


def ico_bytes(px):
    """One 32 x 32, 4-bit image in the ICO container."""
    xor_rows = []
    and_rows = []
    for row in reversed(px):  # bitmaps are stored bottom-up
        nibbles = [c if c is not None else 0 for c in row]
        xor_rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2)))
        mask = 0
        for c in row:
            mask = (mask << 1) | (1 if c is None else 0)
        and_rows.append(mask.to_bytes(SIZE // 8, "big"))
    xor = b"".join(xor_rows)
    and_mask = b"".join(and_rows)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(xor) + len(and_mask), 0, 0, 16, 0)
    image = header + palette + xor + and_mask
    icon_dir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return icon_dir + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res", "vemra.ico")
    with open(out, "wb") as f:
        f.write(ico_bytes(draw()))


if __name__ == "__main__":
    main()
