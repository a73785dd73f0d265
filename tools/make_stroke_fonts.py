#!/usr/bin/env python3
"""Writes the two stroke-font files font1u (simplex sans) and font2u (serif).

    python3 tools/make_stroke_fonts.py [source directory, default: data/]
                                       [output directory, default: the source directory]

Glyph sources are Hershey glyph files in the .jhf text format (one glyph per
line: a 5-character number, a 3-character vertex count, then the vertices as
character pairs, each coordinate the character code minus that of "R"; the first
pair holds the left and right extent, the pair " R" lifts the pen):

    font1u  futural.jhf (ASCII 32-127), greeks.jhf (Greek), markers.jhf
    font2u  timesr.jhf  (ASCII 32-127), greekc.jhf (Greek), markers.jhf

Code layout of both fonts:
    1-17      marker symbols (dot, plus, asterisk, circle, cross, square,
              triangle, diamond, star, filled circle, filled square, filled
              triangles up/left/down/right, filled star, flag); the filled
              ones are their outlines, filled
    32-126    ASCII
    127       a filled block, drawn for characters the fonts do not have
    0x80-0x97 Greek capitals, 0x98-0xAF Greek small letters (alphabetical)
    0xB0      degree sign
    0xB1-0xF8 mathematical symbols, arrows, per mille, Angstrom, the symbol
              forms of epsilon, theta, pi, rho and phi (see symbol_glyphs)
    0xE3-0xE6 circled 2, circle, circled 3, circled 1
Every other code shows a blank of the width of the space. Identical glyphs
share their data.

Output format: a sequential unformatted file of three records, each framed by
its 32-bit little-endian byte count before and after the payload:
    1. the glyph index, 256 signed 32-bit little-endian integers: entry k+1 is
       the 1-based position, in the two coordinate arrays, of the width pair of
       the character with code k;
    2. the x coordinate array, 6000 bytes;
    3. the y coordinate array, 6000 bytes.
A coordinate is stored as its value plus 64. Glyph units are 1/24 of the text
height, x to the right and y downwards, with the origin in the middle of the
character cell and at the vertical middle of the capitals (so that the text
position is the vertical middle of the line, as for system-font text). After
the width pair follow the stroke points; an x byte of 0 lifts the pen, a pair of
two zero bytes ends the glyph.

Only the Python standard library is used; the output is deterministic.
"""

import math
import os
import struct
import sys

INDEX_ENTRIES = 256
ARRAY_BYTES = 6000
BIAS = 64

# Hershey capitals run from y = -12 to 9; moving them down by one unit puts their
# middle half a unit above the text position. Markers and symbols are drawn
# about the math axis y = 0 of the sources and get the same shift, except the
# markers, which are centred on the point.
TEXT_SHIFT = 1


class Glyph:
    """Left and right extent and a list of polylines, in glyph units (y down)."""

    def __init__(self, left, right, strokes):
        self.left = left
        self.right = right
        self.strokes = [list(s) for s in strokes if s]

    def moved(self, dx, dy):
        return Glyph(self.left + dx, self.right + dx,
                     [[(x + dx, y + dy) for x, y in s] for s in self.strokes])

    def scaled(self, f, dx=0, dy=0):
        return Glyph(round(self.left * f) + dx, round(self.right * f) + dx,
                     [[(round(x * f) + dx, round(y * f) + dy) for x, y in s] for s in self.strokes])


def parse_jhf(path):
    glyphs = []
    with open(path, encoding="latin-1") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line.strip():
                continue
            count = int(line[5:8])
            body = line[8:]
            if len(body) != 2 * count:
                raise SystemExit(f"{path}:{number}: {count} vertices announced, {len(body) // 2} found")
            pairs = [(ord(body[2 * i]) - ord("R"), ord(body[2 * i + 1]) - ord("R")) for i in range(count)]
            (left, right), rest = pairs[0], pairs[1:]
            strokes, current = [], []
            for x, y in rest:
                if (x, y) == (ord(" ") - ord("R"), 0):
                    strokes.append(current)
                    current = []
                else:
                    current.append((x, y))
            strokes.append(current)
            glyphs.append(Glyph(left, right, strokes))
    return glyphs


def circle(cx, cy, r, n=24, start=0.0, end=2 * math.pi):
    pts = []
    for i in range(n + 1):
        t = start + (end - start) * i / n
        pts.append((round(cx + r * math.cos(t)), round(cy + r * math.sin(t))))
    return dedupe(pts)


def dedupe(pts):
    out = []
    for p in pts:
        if not out or out[-1] != p:
            out.append(p)
    return out


def _crossings(polygon, slope, offset):
    """Sorted x of the crossings of the line y = slope x + offset with a closed polygon."""
    xs = []
    for (x0, y0), (x1, y1) in zip(polygon, polygon[1:] + polygon[:1]):
        g0, g1 = y0 - slope * x0 - offset, y1 - slope * x1 - offset
        if (g0 <= 0) != (g1 <= 0):
            xs.append(x0 + (x1 - x0) * g0 / (g0 - g1))
    return sorted(xs)


def _inside(polygon, x, y):
    return len([c for c in _crossings(polygon, 0, y) if c < x]) % 2 == 1


def _short_inner_link(polygon, p, q):
    """Whether the step from p to q is short and does not leave the polygon."""
    if max(abs(p[0] - q[0]), abs(p[1] - q[1])) > 2:
        return False
    return all(_inside(polygon, p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t + 0.001) or
               _on_edge(polygon, p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t) for t in (0.25, 0.5, 0.75))


def _on_edge(polygon, x, y):
    for (x0, y0), (x1, y1) in zip(polygon, polygon[1:] + polygon[:1]):
        cross = (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0)
        if abs(cross) < 1e-6 and min(x0, x1) - 1e-6 <= x <= max(x0, x1) + 1e-6 and \
                min(y0, y1) - 1e-6 <= y <= max(y0, y1) + 1e-6:
            return True
    return False


def fill(polygon):
    """Strokes that cover a closed polygon: horizontal rows one unit apart and
    both diagonals through the integer grid, so that the holes left between them
    are smaller than a stroke is wide at the usual marker sizes and the marker
    looks solid. Every piece ends at the last grid point inside the polygon, so
    nothing sticks out of the outline. Neighbouring pieces of one family are joined into one stroke when
    their ends are close, which keeps the glyph small."""
    strokes = []
    for slope in (0, 1, -1):
        offsets = [y - slope * x for x, y in polygon]
        current, flip = [], False
        for c in range(math.ceil(min(offsets)), math.floor(max(offsets)) + 1):
            xs = _crossings(polygon, slope, c + 0.001)  # off the vertices: each crossing counts once
            for a, b in zip(xs[0::2], xs[1::2]):
                a, b = math.ceil(a - 0.01), math.floor(b + 0.01)
                if b <= a:
                    continue
                seg = [(a, slope * a + c), (b, slope * b + c)]
                if flip:
                    seg.reverse()
                flip = not flip
                if current and _short_inner_link(polygon, current[-1], seg[0]):
                    current.extend(seg)
                else:
                    if current:
                        strokes.append(current)
                    current = seg
        if current:
            strokes.append(current)
    return strokes


def filled(outline, left, right):
    """A solid shape: its outline and the strokes that fill it."""
    ring = outline if outline[0] == outline[-1] else outline + [outline[0]]
    return Glyph(left, right, [ring] + fill(dedupe(ring)[:-1]))


def filled_disc(r):
    return filled(circle(0, 0, r, 16), -r - 2, r + 2)


def marker_glyphs(markers, digits):
    by_letter = {chr(ord("A") + i): markers[33 + i] for i in range(16)}
    star = by_letter["E"]
    star_outline = star.strokes[0]
    flag_banner = [(-5, -9), (7, -6), (-5, -2)]
    ring = by_letter["A"]
    square = by_letter["B"]
    triangle = by_letter["C"]  # pointing up, centred on the point

    # The filled markers are their outline markers filled: the same outline, so
    # the same size, whichever way the triangle points.
    up = triangle.strokes[0]
    turned = {"up": up, "down": [(x, -y) for x, y in up],
              "left": [(y, x) for x, y in up], "right": [(-y, x) for x, y in up]}
    tl, tr = triangle.left, triangle.right

    table = {
        1: filled_disc(2),
        2: by_letter["G"], 3: by_letter["I"], 4: ring, 5: by_letter["H"], 6: square,
        7: triangle, 8: by_letter["D"], 9: star,
        10: filled(ring.strokes[0], ring.left, ring.right),
        11: filled(square.strokes[0], square.left, square.right),
        12: filled(turned["up"], tl, tr), 13: filled(turned["left"], tl, tr),
        14: filled(turned["down"], tl, tr), 15: filled(turned["right"], tl, tr),
        16: filled(star_outline, star.left, star.right),
        17: Glyph(-9, 9, [[(-5, 9), (-5, -9)]] + filled(flag_banner, 0, 0).strokes),
        0xE4: ring,
    }
    # Circled digits: the digit at half size in the ring (digits run from y = -12
    # to 9, so at half size their middle is 0.75 above the centre).
    for code, digit in ((0xE3, "2"), (0xE5, "3"), (0xE6, "1")):
        small = digits[ord(digit) - 32].scaled(0.5, 0, 1)
        table[code] = Glyph(ring.left, ring.right, ring.strokes + small.strokes)
    return table


def symbol_glyphs(ascii_glyphs):
    """Mathematical symbols and arrows, drawn about the math axis y = 0."""
    a = {chr(32 + i): g for i, g in enumerate(ascii_glyphs)}
    wide = (-13, 13)

    def g(*strokes, extent=wide):
        return Glyph(extent[0], extent[1], strokes)

    infinity = []
    for i in range(33):
        t = 2 * math.pi * i / 32
        s = 1 + math.sin(t) ** 2
        infinity.append((round(10 * math.cos(t) / s), round(9 * math.sin(t) * math.cos(t) / s)))
    wave = [(x, round(-3 * math.sin(x * math.pi / 9))) for x in range(-9, 10, 2)]
    subset = [(9, -8), (-1, -8)] + circle(-1, 0, 8, 12, -math.pi / 2, -3 * math.pi / 2) + [(9, 8)]
    element = [(7, -6), (0, -6)] + circle(0, 0, 6, 12, -math.pi / 2, -3 * math.pi / 2) + [(7, 6)]
    integral = [[(6, -14), (5, -15), (3, -15), (1, -13), (0, -9), (0, 9), (-1, 13), (-3, 15), (-5, 15), (-6, 14)]]
    return {
        0xB1: a["`"], 0xB2: a["'"],
        0xB3: g([(-9, 0), (9, 0)], [(4, -4), (9, 0), (4, 4)]),
        0xB4: g([(0, 9), (0, -9)], [(-4, -4), (0, -9), (4, -4)]),
        0xB5: g([(9, 0), (-9, 0)], [(-4, -4), (-9, 0), (-4, 4)]),
        0xB6: g([(0, -9), (0, 9)], [(-4, 4), (0, 9), (4, 4)]),
        0xB7: g([(-2, -12), (-2, 12)], [(2, -12), (2, 12)], extent=(-6, 6)),
        0xB8: g([(0, -9), (0, 9)], [(-9, 9), (9, 9)]),
        0xB9: g([(8, -8), (-8, 8), (9, 8)]),
        0xBA: g(*[circle(x, y, 1, 6) for x, y in ((0, -5), (-5, 4), (5, 4))]),
        0xBB: a[" "],
        0xBC: g(wave, [(x, y + 1) for x, y in wave]),
        0xBD: g(dedupe(infinity)),
        0xBE: g([(-9, 0), (9, 0)]),
        0xBF: a["+"],
        0xC0: g([(0, -9), (0, 3)], [(-9, -3), (9, -3)], [(-9, 8), (9, 8)]),
        0xC1: g([(0, -3), (0, 9)], [(-9, 3), (9, 3)], [(-9, -8), (9, -8)]),
        0xC2: g([(-7, -7), (7, 7)], [(7, -7), (-7, 7)]),
        0xC3: filled_disc(1),
        0xC4: g([(-9, 0), (9, 0)], circle(0, -6, 1, 6), circle(0, 6, 1, 6)),
        0xC5: a["="],
        0xC6: g([(-9, -3), (9, -3)], [(-9, 3), (9, 3)], [(5, -9), (-5, 9)]),
        0xC7: g([(-9, -5), (9, -5)], [(-9, 0), (9, 0)], [(-9, 5), (9, 5)]),
        0xC8: a["<"], 0xC9: a[">"],
        0xCA: g([(9, -10), (-9, -4), (9, 2)], [(-9, 5), (9, 5)], [(-9, 9), (9, 9)]),
        0xCB: g([(-9, -10), (9, -4), (-9, 2)], [(-9, 5), (9, 5)], [(-9, 9), (9, 9)]),
        0xCD: g(wave),
        0xCE: a["^"], 0xCF: a["'"], 0xD0: a["`"], 0xD1: a[" "],
        0xD2: g([(-10, -1), (-7, -3), (-3, 9), (3, -14), (12, -14)], extent=(-12, 14)),
        0xD9: g([(-9, -9), (9, -9), (0, 9), (-9, -9)]),
        0xDA: g(*integral, extent=(-9, 9)),
        0xB0: g(circle(0, -9, 3, 12), extent=(-6, 6)),
        0xCC: g([(9, -5), (6, -5), (3, -3), (-1, 2), (-4, 4), (-7, 4), (-9, 2), (-9, -2), (-7, -4), (-4, -4),
                 (-1, -2), (3, 3), (6, 5), (9, 5)]),
        0xD3: g(subset),
        0xD4: g([(-8, -9)] + circle(0, 1, 8, 12, math.pi, 0) + [(8, -9)]),
        0xD5: g([(-x, y) for x, y in subset]),
        0xD6: g([(-8, 9)] + circle(0, -1, 8, 12, math.pi, 2 * math.pi) + [(8, 9)]),
        0xD7: g(element, [(-6, 0), (7, 0)], extent=(-10, 10)),
        0xD8: g(circle(-1, 3, 5, 16), [(4, 3), (4, -2), (3, -6), (1, -9), (-2, -10), (-5, -9)], extent=(-10, 9)),
        0xDB: g(*integral, circle(0, 0, 3, 12), extent=(-9, 9)),
        0xE0: g([(8, -12), (-8, 9)], circle(-6, -8, 3, 12), circle(2, 6, 3, 12), circle(10, 6, 3, 12),
                extent=(-12, 16)),
        0xE1: Glyph(a["A"].left, a["A"].right, a["A"].strokes + [circle(0, -16, 2, 8)]),
        0xF0: g([(5, -5), (0, -5)] + circle(0, 0, 5, 12, -math.pi / 2, -3 * math.pi / 2) + [(5, 5)], [(-5, 0), (4, 0)],
                extent=(-8, 8)),
        0xF2: g([(-10, -5), (10, -5)], [(-7, -5), (-8, 0), (-6, 5), (-3, 5), (0, 1), (3, 5), (6, 5), (8, 0), (7, -5)],
                extent=(-12, 12)),
        0xF5: g(circle(0, 0, 5, 12), [(0, -9), (0, 12)], extent=(-8, 8)),
        0xE2: a[" "], 0xF4: a[" "],
        0xF6: a["-"], 0xF7: a["-"],
        0xF8: g([(-12, 0), (12, 0)], extent=(-12, 12)),
    }


def assemble(ascii_glyphs, greek, markers):
    text = {}
    for i, glyph in enumerate(ascii_glyphs[:96]):
        text[32 + i] = glyph
    for i in range(24):
        text[0x80 + i] = greek[ord("A") - 32 + i]
        text[0x98 + i] = greek[ord("a") - 32 + i]
    text.update(symbol_glyphs(ascii_glyphs))
    # The italic symbol forms of theta and rho are the fonts' own letters.
    text[0xF1] = text[0x98 + 7]
    text[0xF3] = text[0x98 + 16]
    glyphs = {code: glyph.moved(0, TEXT_SHIFT) for code, glyph in text.items()}
    glyphs.update(marker_glyphs(markers, ascii_glyphs))
    return glyphs


def encode(glyphs, name):
    xs, ys = bytearray(), bytearray()

    def put(x, y, what):
        bx, by = x + BIAS, y + BIAS
        if not (1 <= bx <= 255 and 0 <= by <= 255):
            raise SystemExit(f"{name}: coordinate ({x}, {y}) of {what} does not fit a byte")
        xs.append(bx)
        ys.append(by)

    index = [0] * INDEX_ENTRIES
    stored = {}  # identical glyphs (a space, a hyphen, a ring under two codes) share their data
    for code in sorted(glyphs):
        glyph = glyphs[code]
        key = (glyph.left, glyph.right, tuple(tuple(s) for s in glyph.strokes))
        if key in stored:
            index[code] = stored[key]
            continue
        stored[key] = index[code] = len(xs) + 1
        put(glyph.left, glyph.right, f"the extents of code {code}")
        for n, stroke in enumerate(glyph.strokes):
            if n > 0:
                xs.append(0)  # pen up; the y byte must not be 0 as well
                ys.append(1)
            for x, y in stroke:
                put(x, y, f"code {code}")
        xs.append(0)
        ys.append(0)
    blank = index[32]
    index = [p if p else blank for p in index]
    if len(xs) > ARRAY_BYTES:
        raise SystemExit(f"{name}: {len(xs)} coordinate pairs do not fit the {ARRAY_BYTES} of the file")
    print(f"{name}: {len(glyphs)} glyphs, {len(xs)} of {ARRAY_BYTES} coordinate pairs")
    xs.extend(b"\0" * (ARRAY_BYTES - len(xs)))
    ys.extend(b"\0" * (ARRAY_BYTES - len(ys)))
    return struct.pack(f"<{INDEX_ENTRIES}i", *index), bytes(xs), bytes(ys)


def record(payload):
    n = struct.pack("<i", len(payload))
    return n + payload + n


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
    out = sys.argv[2] if len(sys.argv) > 2 else src
    markers = parse_jhf(os.path.join(src, "markers.jhf"))
    for name, ascii_file, greek_file in (("font1u", "futural.jhf", "greeks.jhf"),
                                         ("font2u", "timesr.jhf", "greekc.jhf")):
        ascii_glyphs = parse_jhf(os.path.join(src, ascii_file))
        greek = parse_jhf(os.path.join(src, greek_file))
        glyphs = assemble(ascii_glyphs, greek, markers)
        with open(os.path.join(out, name), "wb") as f:
            for payload in encode(glyphs, name):
                f.write(record(payload))


if __name__ == "__main__":
    main()
