#!/usr/bin/env python3
"""Draws the program's icons: a clock face, and its greyed "off" twin shown while the carrier is heard.

Each icon file holds 16, 20, 24, 32, 48 and 256 px images, drawn from distance fields so that every size
is anti-aliased and the small ones keep strokes at least a pixel and a half wide. The files are committed;
run this again only to change the drawing:  tools/icons/draw_icons.py resources/
"""

import math
import struct
import sys
import zlib
from pathlib import Path

SIZES = (16, 20, 24, 32, 48, 256)

PALETTES = {
    "tintal.ico": {"ring": (28, 52, 120), "face": (255, 238, 170), "marks": (28, 52, 120),
                   "hands": (20, 24, 40), "second": (210, 30, 30)},
    "tintal_off.ico": {"ring": (120, 120, 120), "face": (214, 214, 214), "marks": (120, 120, 120),
                       "hands": (90, 90, 90), "second": (150, 150, 150)},
}


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def clock_shapes(size):
    """The face as (colour name, distance function in pixels) layers, back to front."""
    c = size / 2.0
    outer = size * 0.47
    ring = max(1.5, size * 0.075)
    inner = outer - ring
    shapes = [("ring", lambda x, y: math.hypot(x - c, y - c) - outer),
              ("face", lambda x, y: math.hypot(x - c, y - c) - inner)]
    ticks = 12 if size >= 32 else 4
    tick_width = max(1.2, size * 0.03) / 2
    for k in range(ticks):
        a = 2 * math.pi * k / ticks
        r0, r1 = inner * (0.78 if k % 3 == 0 else 0.86), inner * 0.97
        ax, ay = c + r0 * math.sin(a), c - r0 * math.cos(a)
        bx, by = c + r1 * math.sin(a), c - r1 * math.cos(a)
        shapes.append(("marks", lambda x, y, a=(ax, ay, bx, by): segment_distance(x, y, *a) - tick_width))

    def hand(angle_deg, length, width, colour):
        a = math.radians(angle_deg)
        bx, by = c + length * math.sin(a), c - length * math.cos(a)
        shapes.append((colour, lambda x, y: segment_distance(x, y, c, c, bx, by) - width / 2))

    hand(300, inner * 0.55, max(1.7, size * 0.085), "hands")  # ten o'clock
    hand(60, inner * 0.82, max(1.4, size * 0.06), "hands")  # ten past
    if size >= 32:
        hand(180, inner * 0.85, max(1.0, size * 0.02), "second")
    shapes.append(("hands", lambda x, y: math.hypot(x - c, y - c) - max(1.0, size * 0.05)))
    return shapes


def render(size, palette):
    """RGBA rows, top first."""
    shapes = clock_shapes(size)
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            x, y = i + 0.5, j + 0.5
            r = g = b = a = 0.0
            for colour, distance in shapes:
                cover = max(0.0, min(1.0, 0.5 - distance(x, y)))
                if cover == 0.0:
                    continue
                cr, cg, cb = palette[colour]
                r, g, b = (cr * cover + r * (1 - cover), cg * cover + g * (1 - cover), cb * cover + b * (1 - cover))
                a = cover + a * (1 - cover)
            row.append((round(r), round(g), round(b), round(a * 255)))
        rows.append(row)
    return rows


def png(size, rows):
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def dib(size, rows):
    """A 32-bit bottom-up bitmap with its 1-bit mask, as icon files keep small images."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for i, px in enumerate(row):
            if px[3] == 0:
                line[i // 8] |= 0x80 >> (i % 8)
        mask += line
    return header + pixels + bytes(mask)


def icon_file(palette):
    images = [(s, png(s, render(s, palette)) if s >= 256 else dib(s, render(s, palette))) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        edge = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", edge, edge, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else "resources")
    for name, palette in PALETTES.items():
        (folder / name).write_bytes(icon_file(palette))
        print(f"{folder / name}")


if __name__ == "__main__":
    main()
