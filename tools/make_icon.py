#!/usr/bin/env python3
"""Draws the Pictora Maxora product icon and writes it as a .ico file.

The mark is a rounded tile in the installer's dark palette holding a
stylised photograph: a warm sun over two mountain ridges. Every size from
16 to 256 pixels is rendered from the same vector description with
supersampling, and stored as a PNG entry of the icon file.

usage: make_icon.py OUTPUT.ico
"""
import math
import struct
import sys
import zlib

SIZES = [16, 20, 24, 32, 40, 48, 64, 96, 128, 256]


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


def rounded_rect_inside(x, y, r):
    # Unit square [0,1]^2 with corner radius r.
    cx = min(max(x, r), 1 - r)
    cy = min(max(y, r), 1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ridge(x, base, peak_x, peak_y, width):
    # Height (y, downwards) of a soft mountain ridge at x.
    d = abs(x - peak_x) / width
    return base - (base - peak_y) * max(0.0, 1 - d) ** 1.3


def sample(x, y):
    """Colour (r, g, b, a) in 0..1 of the mark at unit coordinates."""
    if not rounded_rect_inside(x, y, 0.22):
        return (0, 0, 0, 0)
    # Tile: deep slate gradient with a thin lighter rim.
    col = lerp((0.16, 0.19, 0.28), (0.09, 0.10, 0.15), y)
    rim = min(x, y, 1 - x, 1 - y)
    if rim < 0.035:
        col = lerp(col, (0.32, 0.38, 0.52), 0.55)
    # Sun.
    sx, sy, sr = 0.66, 0.36, 0.14
    d = math.hypot(x - sx, y - sy)
    if d < sr:
        col = lerp((1.0, 0.80, 0.36), (0.98, 0.55, 0.22), d / sr)
    elif d < sr + 0.05:
        col = lerp(col, (0.98, 0.62, 0.28), 0.35 * (1 - (d - sr) / 0.05))
    # Far ridge, then near ridge.
    if 0.12 < x < 0.88 and y > ridge(x, 0.80, 0.34, 0.40, 0.42) and y < 0.82:
        col = lerp((0.22, 0.62, 0.74), (0.15, 0.42, 0.56), (y - 0.40) / 0.42)
    if 0.12 < x < 0.88 and y > ridge(x, 0.82, 0.62, 0.52, 0.34) and y < 0.82:
        col = lerp((0.33, 0.80, 0.78), (0.20, 0.58, 0.62), (y - 0.52) / 0.30)
    # Baseline of the "photo".
    if 0.12 < x < 0.88 and 0.80 <= y < 0.83:
        col = (0.93, 0.94, 0.97)
    return col + (1.0,)


def render(size):
    ss = 4 if size <= 64 else 3
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    r, g, b, a = sample((px + (sx + 0.5) / ss) / size,
                                        (py + (sy + 0.5) / ss) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = ss * ss
            alpha = acc[3] / n
            if alpha > 0:
                pix = [acc[i] / acc[3] for i in range(3)]
            else:
                pix = [0, 0, 0]
            row += bytes(int(round(min(max(c, 0), 1) * 255)) for c in pix)
            row.append(int(round(alpha * 255)))
        rows.append(bytes(row))
    return rows


def png(size, rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\x00" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    images = [png(s, render(s)) for s in SIZES]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    directory = b""
    for size, data in zip(SIZES, images):
        dim = 0 if size == 256 else size
        directory += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as out:
        out.write(header + directory + b"".join(images))


if __name__ == "__main__":
    main()
