#!/usr/bin/env python3
"""Writes the colormap files and the colormap list of the library's data directory.

    python3 tools/make_colormaps.py [output directory, default: data/]

Every colormap file starts with the header "N : name" and holds N records
"%6d%6d%6d : name" of 16-bit red, green and blue values.  Index 0 is the page
background (white) and index 1 the default foreground (black) in every map, so
that a program draws the same frame whatever map the user picks.  The ramps fill
indices 2 to 99, which keeps every ramp colour reachable with a two-digit colour
index (line index 993 is colour 99, width 3).

Only the Python standard library is used; the output is deterministic.
"""

import math
import os
import sys

WHITE = (1.0, 1.0, 1.0)
BLACK = (0.0, 0.0, 0.0)
RAMP_SIZE = 98  # indices 2..99

# --------------------------------------------------------------------------
# Colour science: CIELAB (D65) <-> sRGB
# --------------------------------------------------------------------------

D65 = (0.95047, 1.0, 1.08883)


def srgb_encode(c):
    """Linear light to the sRGB transfer curve."""
    if c <= 0.0031308:
        return 12.92 * c
    return 1.055 * c ** (1.0 / 2.4) - 0.055


def srgb_decode(c):
    if c <= 0.04045:
        return c / 12.92
    return ((c + 0.055) / 1.055) ** 2.4


def lab_to_srgb(lab):
    """CIELAB to non-linear sRGB components; values may fall outside 0..1."""
    L, a, b = lab
    fy = (L + 16.0) / 116.0
    fx = fy + a / 500.0
    fz = fy - b / 200.0

    def finv(t):
        return t ** 3 if t > 6.0 / 29.0 else 3.0 * (6.0 / 29.0) ** 2 * (t - 4.0 / 29.0)

    x, y, z = D65[0] * finv(fx), D65[1] * finv(fy), D65[2] * finv(fz)
    r = 3.2404542 * x - 1.5371385 * y - 0.4985314 * z
    g = -0.9692660 * x + 1.8760108 * y + 0.0415560 * z
    bl = 0.0556434 * x - 0.2040259 * y + 1.0572252 * z
    return tuple(srgb_encode(c) if c > 0 else c for c in (r, g, bl))


def srgb_to_lab(rgb):
    r, g, b = (srgb_decode(c) for c in rgb)
    x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b
    y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b
    z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b

    def f(t):
        return t ** (1.0 / 3.0) if t > (6.0 / 29.0) ** 3 else t / (3.0 * (6.0 / 29.0) ** 2) + 4.0 / 29.0

    fx, fy, fz = f(x / D65[0]), f(y / D65[1]), f(z / D65[2])
    return (116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz))


def in_gamut(rgb, eps=1e-9):
    return all(-eps <= c <= 1.0 + eps for c in rgb)


def lch_in_gamut(L, C, h_deg):
    """The colour of lightness L and hue h with the largest chroma <= C inside sRGB."""
    h = math.radians(h_deg)

    def rgb_of(c):
        return lab_to_srgb((L, c * math.cos(h), c * math.sin(h)))

    if in_gamut(rgb_of(C)):
        return rgb_of(C)
    lo, hi = 0.0, C
    for _ in range(50):
        mid = 0.5 * (lo + hi)
        if in_gamut(rgb_of(mid)):
            lo = mid
        else:
            hi = mid
    return rgb_of(lo)


def clamp01(rgb):
    return tuple(min(1.0, max(0.0, c)) for c in rgb)


def delta_e(c1, c2):
    l1, l2 = srgb_to_lab(c1), srgb_to_lab(c2)
    return math.dist(l1, l2)


def resample_even(curve, count, last=1.0):
    """Picks `count` colours along a densely sampled curve at equal CIELAB steps,
    so that neighbouring ramp entries differ by the same perceived amount.  The
    last pick lies at the fraction `last` of the curve's length."""
    lengths = [0.0]
    for p, q in zip(curve, curve[1:]):
        lengths.append(lengths[-1] + delta_e(p, q))
    total = lengths[-1]
    out = []
    j = 0
    for i in range(count):
        target = total * last * i / (count - 1)
        while j < len(curve) - 2 and lengths[j + 1] < target:
            j += 1
        span = lengths[j + 1] - lengths[j]
        t = 0.0 if span == 0.0 else (target - lengths[j]) / span
        t = min(1.0, max(0.0, t))
        p, q = curve[j], curve[j + 1]
        out.append(tuple(a + (b - a) * t for a, b in zip(p, q)))
    return out


# --------------------------------------------------------------------------
# The maps
# --------------------------------------------------------------------------


def rgb8(r, g, b):
    return (r / 255.0, g / 255.0, b / 255.0)


def default_map():
    """Background, foreground and fourteen colours that stay apart from each other."""
    return [
        ("white", WHITE),
        ("black", BLACK),
        ("red", rgb8(215, 25, 28)),
        ("blue", rgb8(30, 90, 200)),
        ("green", rgb8(20, 150, 60)),
        ("orange", rgb8(245, 140, 0)),
        ("purple", rgb8(125, 50, 165)),
        ("cyan", rgb8(0, 175, 200)),
        ("magenta", rgb8(220, 0, 150)),
        ("brown", rgb8(140, 80, 30)),
        ("grey", rgb8(128, 128, 128)),
        ("olive", rgb8(128, 128, 0)),
        ("navy", rgb8(0, 0, 120)),
        ("pink", rgb8(250, 150, 180)),
        ("lightgreen", rgb8(140, 210, 100)),
        ("gold", rgb8(200, 165, 0)),
    ]


def black_white_map():
    return [("white", WHITE), ("black", BLACK)]


def with_frame_colours(prefix, ramp):
    return [("white", WHITE), ("black", BLACK)] + [
        ("%s%03d" % (prefix, i + 2), c) for i, c in enumerate(ramp)
    ]


def grey_map():
    """Black to white at equal steps of CIELAB lightness."""
    ramp = []
    for i in range(RAMP_SIZE):
        L = 100.0 * i / (RAMP_SIZE - 1)
        ramp.append(clamp01(lab_to_srgb((L, 0.0, 0.0))))
    return with_frame_colours("grey", ramp)


def diverging_map():
    """Blue through white to red, symmetric in lightness about the white middle."""
    blue = lch_in_gamut(38.0, 60.0, 285.0)
    red = lch_in_gamut(42.0, 70.0, 35.0)
    white_lab = (97.0, 0.0, 0.0)

    def leg(start_rgb, n):
        s = srgb_to_lab(start_rgb)
        pts = []
        for k in range(n):
            t = k / (n - 1)
            lab = tuple(a + (b - a) * t for a, b in zip(s, white_lab))
            pts.append(clamp01(lab_to_srgb(lab)))
        return pts

    # Each leg stops half a step short of white, so the two middle entries are
    # as far apart as any other neighbours and no colour appears twice.
    half = RAMP_SIZE // 2
    last = (half - 1) / (half - 0.5)
    cold = resample_even(leg(blue, 400), half, last)
    warm = list(reversed(resample_even(leg(red, 400), half, last)))
    return with_frame_colours("bwr", cold + warm)


def max_chroma(L, h_deg):
    h = math.radians(h_deg)
    lo, hi = 0.0, 150.0
    for _ in range(40):
        mid = 0.5 * (lo + hi)
        if in_gamut(lab_to_srgb((L, mid * math.cos(h), mid * math.sin(h)))):
            lo = mid
        else:
            hi = mid
    return lo


def smooth(values, width, passes=3):
    out = list(values)
    for _ in range(passes):
        prev = out
        out = []
        for i in range(len(prev)):
            lo, hi = max(0, i - width), min(len(prev), i + width + 1)
            out.append(sum(prev[lo:hi]) / (hi - lo))
    return out


def sequential_map():
    """Dark violet through blue and green to light yellow: lightness rises
    monotonically while the hue turns.  The chroma follows the sRGB gamut
    boundary along the path, smoothed so that the ramp has no visible kinks,
    and the ramp is sampled at equal CIELAB distances."""
    n = 600
    ts = [k / (n - 1) for k in range(n)]
    lightness = [20.0 + 72.0 * t for t in ts]
    hues = [295.0 - 200.0 * t for t in ts]  # violet -> blue -> green -> yellow
    limit = [min(0.85 * max_chroma(L, h), 60.0) for L, h in zip(lightness, hues)]
    chroma = smooth(limit, n // 12)
    curve = [clamp01(lch_in_gamut(L, c, h)) for L, c, h in zip(lightness, chroma, hues)]
    return with_frame_colours("seq", resample_even(curve, RAMP_SIZE))


MAPS = [
    # file stem, map name, description in the colormap list, colours
    ("colormap", "default", "default: white background, black foreground, 14 distinct colours", default_map),
    ("colormap_bw", "blackwhite", "black on white, 2 colours", black_white_map),
    ("colormap_grey", "greyramp", "grey ramp: black to white in 98 equal lightness steps (2-99)", grey_map),
    ("colormap_bwr", "bluewhitered", "diverging blue-white-red, 98 colours (2-99)", diverging_map),
    ("colormap_seq", "sequential", "perceptually uniform sequential violet-green-yellow, 98 colours (2-99)", sequential_map),
]


def to16(c):
    return int(round(min(1.0, max(0.0, c)) * 65535.0))


def write_map(path, name, colours):
    if not 1 <= len(colours) <= 255:
        raise ValueError("a colormap holds 1 to 255 colours")
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("%d : %s\n" % (len(colours), name))
        for cname, rgb in colours:
            r, g, b = (to16(c) for c in rgb)
            f.write("%6d%6d%6d : %s\n" % (r, g, b, cname))


def write_list(path):
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("%d\n" % len(MAPS))
        for stem, _, description, _ in MAPS:
            f.write("'%s' '%s'\n" % (stem, description))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data")
    os.makedirs(out, exist_ok=True)
    for stem, name, _, make in MAPS:
        write_map(os.path.join(out, stem + ".x11"), name, make())
    write_list(os.path.join(out, "cmaplist"))


if __name__ == "__main__":
    main()
