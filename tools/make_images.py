#!/usr/bin/env python3
"""Draws the installer's PNG image families and writes them as PNG files.

Every family comes in four variants, for 96, 120, 144 and 192 DPI, with the
resource identifiers base .. base + 3. Each image is described once as
vector shapes in its own pixel grid (scaled per variant) and rendered with
anti-aliasing from signed distances: a pixel's coverage is how far its
centre lies inside the shape's edge, clamped to one pixel. The files are
32-bit RGBA with straight (not premultiplied) alpha, as PNG stores it; the
installer premultiplies them when it loads them.

usage: make_images.py OUTPUT_DIR     writes <name>_<dpi>.png for every variant
       make_images.py --list         prints "id file" for every variant
"""
import math
import os
import struct
import sys
import zlib

DPIS = (96, 120, 144, 192)
WHITE = (255, 255, 255)
ACCENT = (7, 165, 216)
DARK = (24, 25, 30)
GREY = (150, 150, 150)
CHEVRON = (185, 186, 187)


# ---- signed distances (negative inside), in pixels -------------------------

def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


class Stroke:
    """A polyline of the given width with round joins and caps."""

    def __init__(self, points, width):
        self.points = points
        self.half = width / 2
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        pad = self.half + 1
        self.box = (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)

    def distance(self, x, y):
        best = math.inf
        pts = self.points
        if len(pts) == 1:
            return math.hypot(x - pts[0][0], y - pts[0][1]) - self.half
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            best = min(best, segment_distance(x, y, ax, ay, bx, by))
        return best - self.half


class RoundedBox:
    """A filled rectangle with corner radius r."""

    def __init__(self, left, top, right, bottom, r):
        self.cx, self.cy = (left + right) / 2, (top + bottom) / 2
        self.hx, self.hy = (right - left) / 2, (bottom - top) / 2
        self.r = r
        self.box = (left - 1, top - 1, right + 1, bottom + 1)

    def distance(self, x, y):
        qx = abs(x - self.cx) - self.hx + self.r
        qy = abs(y - self.cy) - self.hy + self.r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - self.r


class Outline:
    """The band of the given width just inside a shape's edge."""

    def __init__(self, shape, width):
        self.shape = shape
        self.width = width
        self.box = shape.box

    def distance(self, x, y):
        d = self.shape.distance(x, y)
        return max(d, -d - self.width)


class Minus:
    """A shape with another cut out of it."""

    def __init__(self, shape, cut):
        self.shape, self.cut = shape, cut
        self.box = shape.box

    def distance(self, x, y):
        return max(self.shape.distance(x, y), -self.cut.distance(x, y))


def coverage(shape, x, y):
    left, top, right, bottom = shape.box
    if x < left or x > right or y < top or y > bottom:
        return 0.0
    return max(0.0, min(1.0, 0.5 - shape.distance(x, y)))


def render(width, height, layers):
    """layers: list of (shape, rgb), later layers painted over earlier ones."""
    rows = []
    for py in range(height):
        row = bytearray()
        for px in range(width):
            x, y = px + 0.5, py + 0.5
            r = g = b = a = 0.0   # premultiplied while compositing
            for shape, colour in layers:
                c = coverage(shape, x, y)
                if c <= 0:
                    continue
                r = colour[0] * c + r * (1 - c)
                g = colour[1] * c + g * (1 - c)
                b = colour[2] * c + b * (1 - c)
                a = c + a * (1 - c)
            if a > 0:
                row += bytes(int(round(min(255.0, v / a))) for v in (r, g, b))
            else:
                row += b"\0\0\0"
            row.append(int(round(a * 255)))
        rows.append(bytes(row))
    return rows


def png(width, height, rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\x00" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


# ---- the caption glyphs: drawn on a 16-unit grid, scaled to the size --------

def glyph_scale(size):
    return size / 16.0


def close_glyph(size):
    s = glyph_scale(size)
    w = 1.1 * s
    lo, hi = 4.0 * s, 12.0 * s
    return [(Stroke([(lo, lo), (hi, hi)], w), WHITE),
            (Stroke([(lo, hi), (hi, lo)], w), WHITE)]


# Straight lines of the glyphs sit on whole pixels, so that they stay crisp
# at every size: edges on pixel boundaries, line widths in whole pixels.
def line_width(s):
    return max(1, round(s))


def minimize_glyph(size):
    s = glyph_scale(size)
    w = line_width(s)
    top = round(8.0 * s - w / 2)
    return [(RoundedBox(round(4 * s), top, round(12 * s), top + w, 0.0), WHITE)]


def square_outline(s, left, top, right, bottom):
    box = RoundedBox(round(left * s), round(top * s), round(right * s), round(bottom * s), 0.0)
    return box, Outline(box, line_width(s))


def maximize_glyph(size):
    s = glyph_scale(size)
    return [(square_outline(s, 4, 4, 12, 12)[1], WHITE)]


def restore_glyph(size):
    s = glyph_scale(size)
    front, front_outline = square_outline(s, 4, 6, 10, 12)
    back = Minus(square_outline(s, 6, 4, 12, 10)[1], front)
    return [(back, WHITE), (front_outline, WHITE)]


# ---- the word mark: a stroke alphabet of the letters it needs ---------------
# Letters on a grid with the baseline at y = 0 and y growing upwards; caps
# are 10 units high, small letters 7. Each letter: (advance, strokes).

def arc(cx, cy, r, start, end, steps=20):
    return [(cx + r * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + r * math.sin(math.radians(start + (end - start) * i / steps)))
            for i in range(steps + 1)]


LETTERS = {
    "P": (6.2, [[(0, 0), (0, 10), (3.3, 10)] + arc(3.3, 7.4, 2.6, 90, -90) + [(0, 4.8)]]),
    "i": (0.0, [[(0, 0), (0, 7)], [(0, 9.6)]]),
    "c": (6.2, [arc(3.5, 3.5, 3.5, 40, 320, 28)]),
    "t": (3.4, [[(1.1, 9.4), (1.1, 1.4)] + arc(2.5, 1.4, 1.4, 180, 270, 8) + [(3.4, 0)],
                [(0, 7), (3.2, 7)]]),
    "o": (7.0, [arc(3.5, 3.5, 3.5, 0, 360, 36)]),
    "r": (3.0, [[(0, 0), (0, 7)], [(0, 3.8)] + arc(3.4, 3.8, 3.4, 180, 100, 10)]),
    "a": (6.8, [arc(3.4, 3.5, 3.4, 0, 360, 36), [(6.8, 7), (6.8, 0)]]),
    "M": (9.4, [[(0, 0), (0, 10), (4.7, 2.2), (9.4, 10), (9.4, 0)]]),
    "x": (6.2, [[(0, 0), (6.2, 7)], [(0, 7), (6.2, 0)]]),
    " ": (2.6, []),
}
LETTER_GAP = 2.4
STROKE = 1.6
WORD_MARK = "Pictora Maxora"


def word_mark(width, height):
    # Ink extent of the text in grid units (stroke caps included).
    advance = sum(LETTERS[ch][0] for ch in WORD_MARK) + LETTER_GAP * (len(WORD_MARK) - 1)
    ink_w = advance + STROKE
    ink_h = 10 + STROKE
    # Right-aligned, with a margin of half the height on the right, so that
    # the mark drawn at a panel's top right corner keeps clear of its edge.
    margin = height * 0.5
    scale = min((width - margin - 1) / ink_w, (height * 0.78) / ink_h)
    x0 = width - margin - ink_w * scale + STROKE / 2 * scale
    base = (height + ink_h * scale) / 2 - STROKE / 2 * scale
    strokes = []
    pen = 0.0
    for ch in WORD_MARK:
        adv, parts = LETTERS[ch]
        for part in parts:
            pts = [(x0 + (pen + x) * scale, base - y * scale) for x, y in part]
            strokes.append((Stroke(pts, STROKE * scale), WHITE))
        pen += adv + LETTER_GAP
    return strokes


# ---- the combo box arrow strip: three square frames side by side -------------

def arrow_strip(width, height):
    frame = width // 3
    layers = []
    for k, colour in enumerate(((60, 62, 68), WHITE, (160, 160, 160))):
        s = frame / 14.0
        x0 = k * frame
        pts = [(x0 + 4.0 * s, 5.5 * s), (x0 + 7.0 * s, 8.5 * s), (x0 + 10.0 * s, 5.5 * s)]
        # At the smallest size a thinner line would nowhere cover a whole pixel.
        layers.append((Stroke(pts, max(1.6, 1.4 * s)), colour))
    return layers


# ---- check boxes ----------------------------------------------------------------

def checked_box(size):
    s = glyph_scale(size)
    box = RoundedBox(1 * s, 1 * s, 15 * s, 15 * s, 3 * s)
    tick = Stroke([(4.5 * s, 8.2 * s), (7.0 * s, 10.8 * s), (11.6 * s, 5.4 * s)], 1.8 * s)
    return [(box, ACCENT), (tick, DARK)]


def unchecked_box(size):
    s = glyph_scale(size)
    return [(Outline(RoundedBox(1 * s, 1 * s, 15 * s, 15 * s, 3 * s), 1.2 * s), GREY)]


# ---- chevrons (on a 14 x 8 grid, stretched to the variant's size) -------------

def chevron(width, height, up):
    sx, sy = width / 14.0, height / 8.0
    w = max(1.7, 1.5 * min(sx, sy))
    ys = (6.5, 1.5) if up else (1.5, 6.5)
    pts = [(2.0 * sx, ys[0] * sy), (7.0 * sx, ys[1] * sy), (12.0 * sx, ys[0] * sy)]
    return [(Stroke(pts, w), CHEVRON)]


SQUARE = ((16, 16), (20, 20), (24, 24), (32, 32))
FAMILIES = [
    # base id, file name, sizes per DPI, drawing (width, height) -> layers
    (106, "close", SQUARE, lambda w, h: close_glyph(w)),
    (110, "minimize", SQUARE, lambda w, h: minimize_glyph(w)),
    (114, "maximize", SQUARE, lambda w, h: maximize_glyph(w)),
    (118, "restore", SQUARE, lambda w, h: restore_glyph(w)),
    (129, "word_mark", ((161, 26), (202, 33), (242, 39), (321, 52)), word_mark),
    (144, "combo_arrow", ((42, 14), (54, 18), (63, 21), (84, 28)), arrow_strip),
    (153, "check_on", SQUARE, lambda w, h: checked_box(w)),
    (157, "check_off", SQUARE, lambda w, h: unchecked_box(w)),
    (161, "chevron_up", ((14, 8), (17, 11), (21, 12), (28, 16)), lambda w, h: chevron(w, h, True)),
    (165, "chevron_down", ((14, 8), (17, 11), (21, 12), (28, 16)), lambda w, h: chevron(w, h, False)),
]


def variants():
    for base, name, sizes, draw in FAMILIES:
        for step, (dpi, (w, h)) in enumerate(zip(DPIS, sizes)):
            yield base + step, "%s_%d.png" % (name, dpi), w, h, draw


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    if sys.argv[1] == "--list":
        for ident, file_name, _, _, _ in variants():
            print(ident, file_name)
        return
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    for _, file_name, w, h, draw in variants():
        data = png(w, h, render(w, h, draw(w, h)))
        with open(os.path.join(out_dir, file_name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
