#!/usr/bin/env python3
"""Draws the program's icon: a serial connector over a play mark, on a rounded square.

One description of the shapes gives the SVG (for desktops that scale it) and the PNG sizes and
Windows icon file the program carries, so the three can never drift apart. Writes into the
directory given (default: app/icon beside this tree). Needs only Python's standard library.
"""
import os
import struct
import sys
import zlib

CANVAS = 256
BACKGROUND = (0x1F, 0x4E, 0x79)
CONNECTOR_RIM = (0x6E, 0x7B, 0x87)
CONNECTOR = (0xE3, 0xE7, 0xEB)
PIN = BACKGROUND
PLAY = (0x7C, 0xC1, 0x4F)

# Shapes in drawing order, in a 256-unit square.
ROUNDED_SQUARE = ("rounded", (8, 8, 248, 248, 44), BACKGROUND)
SHAPES = [
    ROUNDED_SQUARE,
    ("trapezoid", (34, 222, 60, 196, 52, 154), CONNECTOR_RIM),
    ("trapezoid", (44, 212, 70, 186, 62, 144), CONNECTOR),
] + [("circle", (68 + 30 * i, 86, 10), PIN) for i in range(5)] + [
    ("circle", (83 + 30 * i, 119, 10), PIN) for i in range(4)
] + [("triangle", ((100, 168), (100, 232), (164, 200)), PLAY)]


def inside(shape, x, y):
    kind, geometry, _ = shape
    if kind == "circle":
        cx, cy, r = geometry
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    if kind == "rounded":
        left, top, right, bottom, r = geometry
        if not (left <= x <= right and top <= y <= bottom):
            return False
        nx = min(max(x, left + r), right - r)
        ny = min(max(y, top + r), bottom - r)
        return (x - nx) ** 2 + (y - ny) ** 2 <= r * r
    if kind == "trapezoid":
        top_left, top_right, bottom_left, bottom_right, top, bottom = geometry
        if not (top <= y <= bottom):
            return False
        t = (y - top) / (bottom - top)
        return (top_left + t * (bottom_left - top_left) <= x <=
                top_right + t * (bottom_right - top_right))
    (ax, ay), (bx, by), (cx, cy) = geometry
    d1 = (x - bx) * (ay - by) - (ax - bx) * (y - by)
    d2 = (x - cx) * (by - cy) - (bx - cx) * (y - cy)
    d3 = (x - ax) * (cy - ay) - (cx - ax) * (y - ay)
    return not ((d1 < 0 or d2 < 0 or d3 < 0) and (d1 > 0 or d2 > 0 or d3 > 0))


def render(size, samples=4):
    """RGBA rows, each pixel averaged over samples x samples points."""
    scale = CANVAS / size
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) * scale
                    y = (py + (sy + 0.5) / samples) * scale
                    colour = None
                    for shape in SHAPES:
                        if inside(shape, x, y):
                            colour = shape[2]
                    if colour:
                        r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
            n = samples * samples
            row += bytes((round(r / a) if a else 0, round(g / a) if a else 0,
                          round(b / a) if a else 0, round(255 * a / n)))
        rows.append(bytes(row))
    return rows


def png(size):
    raw = b"".join(b"\0" + row for row in render(size))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(images):
    """A Windows icon file holding PNG images (Windows Vista and later read them)."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image),
                               offset + len(data))
        data += image
    return directory + entries + data


def svg():
    colour = lambda c: "#%02x%02x%02x" % c
    parts = []
    for kind, geometry, fill in SHAPES:
        if kind == "circle":
            cx, cy, r = geometry
            parts.append(f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{colour(fill)}"/>')
        elif kind == "rounded":
            left, top, right, bottom, r = geometry
            parts.append(f'<rect x="{left}" y="{top}" width="{right - left}" '
                         f'height="{bottom - top}" rx="{r}" fill="{colour(fill)}"/>')
        else:
            if kind == "trapezoid":
                tl, tr, bl, br, top, bottom = geometry
                points = [(tl, top), (tr, top), (br, bottom), (bl, bottom)]
            else:
                points = geometry
            text = " ".join(f"{x},{y}" for x, y in points)
            parts.append(f'<polygon points="{text}" fill="{colour(fill)}"/>')
    body = "\n  ".join(parts)
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{CANVAS}" height="{CANVAS}" '
            f'viewBox="0 0 {CANVAS} {CANVAS}">\n  {body}\n</svg>\n')


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "app", "icon")
    name = os.path.join(out, "qdax-serial-loader")
    with open(name + ".svg", "w") as f:
        f.write(svg())
    images = [(size, png(size)) for size in (16, 24, 32, 48, 256)]
    for size, image in images:
        with open(f"{name}-{size}.png", "wb") as f:
            f.write(image)
    with open(name + ".ico", "wb") as f:
        f.write(ico(images))


if __name__ == "__main__":
    main()
