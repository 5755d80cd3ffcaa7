#!/usr/bin/env python3
"""Draws the about window's picture: a rising price line over a soft gradient disc.

Writes about_picture.png beside this script: 220 x 220, 8-bit RGBA (colour type 6),
transparent outside the disc. Standard library only; run it again after changing the drawing.
"""
import math
import os
import struct
import zlib

SIZE = 220
CENTRE = (SIZE - 1) / 2.0
RADIUS = 104.0

# The price line, left to right, in picture coordinates (y grows downwards).
LINE = [(38, 150), (62, 138), (82, 146), (104, 118), (124, 126), (146, 96), (164, 104), (184, 64)]
LINE_HALF_WIDTH = 3.2
ARROW_TIP = (192, 52)


def clamp(value, low=0.0, high=1.0):
    return max(low, min(high, value))


def distance_to_segment(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def inside_triangle(px, py, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])

    d1 = side((px, py), a, b)
    d2 = side((px, py), b, c)
    d3 = side((px, py), c, a)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def arrow_head():
    # A triangle at the end of the last segment, pointing along it.
    (ax, ay), (bx, by) = LINE[-2], ARROW_TIP
    length = math.hypot(bx - ax, by - ay)
    ux, uy = (bx - ax) / length, (by - ay) / length
    base = (bx - ux * 16, by - uy * 16)
    return (bx, by), (base[0] - uy * 9, base[1] + ux * 9), (base[0] + uy * 9, base[1] - ux * 9)


def blend(under, over, amount):
    return tuple(u + (o - u) * amount for u, o in zip(under, over))


def pixel(x, y, head):
    px, py = x + 0.5, y + 0.5
    r = math.hypot(px - CENTRE - 0.5, py - CENTRE - 0.5)
    coverage = clamp(RADIUS + 0.5 - r)
    if coverage <= 0.0:
        return (0, 0, 0, 0)
    # Soft light-blue to warm-white gradient from the top left, a darker rim.
    t = clamp((px + py) / (2.0 * SIZE))
    colour = blend((214, 234, 252), (255, 246, 232), t)
    colour = blend(colour, (150, 184, 222), clamp((r - RADIUS + 10) / 10.0) * 0.6)
    # Faint horizontal grid lines.
    if int(py) % 30 == 0 and 40 < py < 190:
        colour = blend(colour, (170, 190, 210), 0.35)
    # The price line and its arrow head, red for a rise.
    line_distance = min(distance_to_segment(px, py, a, b) for a, b in zip(LINE, LINE[1:]))
    ink = clamp(LINE_HALF_WIDTH + 0.5 - line_distance)
    if inside_triangle(px, py, *head):
        ink = 1.0
    colour = blend(colour, (222, 41, 41), ink)
    return tuple(int(round(c)) for c in colour) + (int(round(255 * coverage)),)


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main():
    head = arrow_head()
    raw = bytearray()
    for y in range(SIZE):
        raw.append(0)  # filter type: none
        for x in range(SIZE):
            raw.extend(pixel(x, y, head))
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    png = (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
           png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + png_chunk(b"IEND", b""))
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "about_picture.png")
    with open(target, "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main()
