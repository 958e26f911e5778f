#!/usr/bin/env python3
"""Draws the program icon and writes it as a multi-size Windows .ico file.

Usage: scripts/make_icon.py [output]   (default: app/quillfix.ico)

The picture is a lavender tile with a white page and a maroon quill across it, in the
window's own colours. Every size is rendered from the same shapes with supersampling;
sizes up to 64 pixels are stored as 32-bit bitmaps with an AND mask, 256 pixels as PNG.
Only the standard library is used.
"""
import math
import os
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64, 256)


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(lerp(x, y, t) for x, y in zip(c1, c2))


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def in_polygon(x, y, points):
    inside = False
    n = len(points)
    for i in range(n):
        x1, y1 = points[i]
        x2, y2 = points[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            xc = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
            if x < xc:
                inside = not inside
    return inside


PAGE_LEFT, PAGE_TOP, PAGE_RIGHT, PAGE_BOTTOM, FOLD = 0.20, 0.13, 0.68, 0.87, 0.15
PAGE = [(PAGE_LEFT, PAGE_TOP), (PAGE_RIGHT - FOLD, PAGE_TOP), (PAGE_RIGHT, PAGE_TOP + FOLD),
        (PAGE_RIGHT, PAGE_BOTTOM), (PAGE_LEFT, PAGE_BOTTOM)]
FOLD_TRIANGLE = [(PAGE_RIGHT - FOLD, PAGE_TOP), (PAGE_RIGHT - FOLD, PAGE_TOP + FOLD),
                 (PAGE_RIGHT, PAGE_TOP + FOLD)]
LINES = [0.36, 0.47, 0.58, 0.69]

# The quill runs from its top end (feather) down to the nib.
QUILL_TOP = (0.88, 0.10)
QUILL_NIB = (0.38, 0.86)
QUILL_LENGTH = math.dist(QUILL_TOP, QUILL_NIB)
QUILL_AXIS = ((QUILL_NIB[0] - QUILL_TOP[0]) / QUILL_LENGTH,
              (QUILL_NIB[1] - QUILL_TOP[1]) / QUILL_LENGTH)

TILE_TOP = (150, 150, 214)
TILE_BOTTOM = (104, 104, 172)
TILE_EDGE = (72, 72, 128)
PAGE_COLOUR = (255, 255, 255)
FOLD_COLOUR = (206, 206, 228)
LINE_COLOUR = (150, 150, 196)
QUILL_COLOUR = (128, 0, 0)
QUILL_LIGHT = (196, 64, 64)
SHAFT_COLOUR = (250, 224, 224)
NIB_COLOUR = (40, 40, 56)


def sample(x, y, size):
    """Colour and alpha (0..1) of the picture at (x, y) in unit coordinates."""
    edge = 1.0 / size
    if not in_rounded_rect(x, y, 0.03, 0.03, 0.97, 0.97, 0.18):
        return (0, 0, 0), 0.0
    colour = mix(TILE_TOP, TILE_BOTTOM, y)
    if not in_rounded_rect(x, y, 0.03 + edge, 0.03 + edge, 0.97 - edge, 0.97 - edge,
                           0.18 - edge):
        colour = TILE_EDGE
    if in_polygon(x, y, PAGE):
        colour = PAGE_COLOUR
        if in_polygon(x, y, FOLD_TRIANGLE):
            colour = FOLD_COLOUR
        elif PAGE_LEFT + 0.07 <= x <= PAGE_RIGHT - 0.10:
            for line in LINES:
                if abs(y - line) <= max(0.022, 0.5 * edge):
                    colour = LINE_COLOUR
    # Quill in axis coordinates: u along the quill from its top end, v across it.
    dx, dy = x - QUILL_TOP[0], y - QUILL_TOP[1]
    u = (dx * QUILL_AXIS[0] + dy * QUILL_AXIS[1]) / QUILL_LENGTH
    v = (-dx * QUILL_AXIS[1] + dy * QUILL_AXIS[0]) / QUILL_LENGTH
    if 0.0 <= u <= 1.0:
        vane_end = 0.72
        if u <= vane_end:
            t = u / vane_end
            half = 0.115 * math.sin(math.pi * t) ** 0.7
            # The vane is wider on one side, like a real feather.
            if -half * 0.75 <= v <= half:
                colour = QUILL_LIGHT if v > 0 else QUILL_COLOUR
                if abs(v) <= max(0.012, 0.6 * edge):
                    colour = SHAFT_COLOUR
        elif u <= 0.93:
            if abs(v) <= max(0.018, 0.6 * edge):
                colour = SHAFT_COLOUR if u < 0.80 else QUILL_COLOUR
        else:
            half = 0.03 * (1.0 - u) / 0.07
            if abs(v) <= max(half, 0.4 * edge):
                colour = NIB_COLOUR
    return colour, 1.0


def render(size):
    """Rows of (r, g, b, a) bytes, top row first."""
    grid = 4 if size <= 64 else 3
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(grid):
                for sx in range(grid):
                    x = (px + (sx + 0.5) / grid) / size
                    y = (py + (sy + 0.5) / grid) / size
                    (cr, cg, cb), ca = sample(x, y, size)
                    r += cr * ca
                    g += cg * ca
                    b += cb * ca
                    a += ca
            n = grid * grid
            if a > 0:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def bitmap_entry(rows, size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for px, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[px // 8] |= 0x80 >> (px % 8)
        mask += line
    return header + bytes(pixels) + bytes(mask)


def png_entry(rows, size):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def build_icon():
    images = []
    for size in SIZES:
        rows = render(size)
        data = png_entry(rows, size) if size >= 256 else bitmap_entry(rows, size)
        images.append((size, data))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "app", "quillfix.ico")
    with open(target, "wb") as f:
        f.write(build_icon())
    print(target)


if __name__ == "__main__":
    main()
