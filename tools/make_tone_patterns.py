#!/usr/bin/env python3
"""Writes the tone-pattern file bitmap.x11 and the colour-to-tone map cl2tnmap.

    python3 tools/make_tone_patterns.py [output directory, default: data/]

bitmap.x11: first the number of patterns M, then M records "%4d%4d%3d%3d %s":
the pattern number, the number of set pixels in one cell, the cell width and
height in pixels, and the cell as one word of hexadecimal digits, row by row from
the top, each row padded to whole digits (most significant bit = leftmost pixel).

Pattern numbers are 10 * kind + density: kind 0 dots, 1 horizontal lines,
2 lines rising at 45 degrees, 3 vertical lines, 4 lines falling at 45 degrees,
5 crossed horizontal and vertical lines, 6 crossed diagonal lines; density 1
(sparse) to 9 (dense).  Pattern 999 is solid.  The driver draws every tone as a
solid fill; the file keeps the patterns for output that hatches.

cl2tnmap: first the number of entries, then records "%4d%6d": a colour index of
the default colormap and the tone pattern that stands in for it on a
monochrome device, darker colours getting denser patterns.

Only the Python standard library is used; the output is deterministic.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_colormaps  # noqa: E402

CELL = 16
# (spacing, thickness) per density 1..9; every spacing divides the cell so the
# cells tile without seams, and coverage grows with the density.
LEVELS = [(16, 1), (8, 1), (16, 3), (4, 1), (8, 3), (2, 1), (8, 5), (4, 3), (8, 7)]


def cell(kind, spacing, thick):
    def on_line(v):
        return v % spacing < thick

    rows = []
    for y in range(CELL):
        row = []
        for x in range(CELL):
            if kind == 0:
                bit = on_line(x) and on_line(y)
            elif kind == 1:
                bit = on_line(y)
            elif kind == 2:
                bit = on_line(x + y)
            elif kind == 3:
                bit = on_line(x)
            elif kind == 4:
                bit = on_line(x - y)
            elif kind == 5:
                bit = on_line(x) or on_line(y)
            else:
                bit = on_line(x + y) or on_line(x - y)
            row.append(1 if bit else 0)
        rows.append(row)
    return rows


def encode(rows):
    digits = []
    for row in rows:
        padded = row + [0] * (-len(row) % 4)
        for i in range(0, len(padded), 4):
            nibble = padded[i] << 3 | padded[i + 1] << 2 | padded[i + 2] << 1 | padded[i + 3]
            digits.append("%X" % nibble)
    return "".join(digits)


def patterns():
    out = []
    for kind in range(7):
        for density, (spacing, thick) in enumerate(LEVELS, start=1):
            rows = cell(kind, spacing, thick)
            out.append((10 * kind + density, rows))
    out.append((999, [[1] * CELL for _ in range(CELL)]))
    return out


def write_bitmap(path):
    pats = patterns()
    if len(pats) > 300:
        raise ValueError("a tone-pattern file holds at most 300 patterns")
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("%d\n" % len(pats))
        for number, rows in pats:
            setbits = sum(map(sum, rows))
            f.write("%4d%4d%3d%3d %s\n" % (number, setbits, CELL, CELL, encode(rows)))


def luminance(rgb):
    r, g, b = (make_colormaps.srgb_decode(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def write_cl2tn(path):
    colours = make_colormaps.default_map()
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("%d\n" % len(colours))
        for index, (_, rgb) in enumerate(colours):
            if index == 0:
                tone = 0  # background: nothing drawn
            elif index == 1:
                tone = 999  # foreground: solid
            else:
                # Darker colours get denser dots; alternate the hatch direction so
                # that neighbouring colour indices remain distinguishable.
                density = min(9, max(1, int(round((1.0 - luminance(rgb)) * 9.0))))
                kind = (index - 2) % 7
                tone = 10 * kind + density
            f.write("%4d%6d\n" % (index, tone))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data")
    os.makedirs(out, exist_ok=True)
    write_bitmap(os.path.join(out, "bitmap.x11"))
    write_cl2tn(os.path.join(out, "cl2tnmap"))


if __name__ == "__main__":
    main()
