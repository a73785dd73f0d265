#!/usr/bin/python3
"""Writes colour/colormap_tables.cpp: the 256-entry tables of the four
perceptually uniform sequential colormaps (viridis, plasma, inferno, magma;
Smith and van der Walt, released under CC0), read as data from an installed
matplotlib. Run again only to check that the committed tables are unchanged."""
import sys
import matplotlib

names = ["viridis", "plasma", "inferno", "magma"]
out = []
out.append("// The 256-entry tables of the perceptually uniform sequential colormaps")
out.append("// viridis, plasma, inferno and magma (Smith and van der Walt, CC0), as")
out.append("// 0xRRGGBB. Written by tools/colormap_tables.py; do not edit by hand.")
out.append('#include "colour/colormap_tables.hpp"')
out.append("")
out.append("namespace zep::colour {")
out.append("")
for n in names:
    cmap = matplotlib.colormaps[n]
    vals = []
    for i in range(256):
        r, g, b, _ = cmap(i)
        vals.append((round(r * 255) << 16) | (round(g * 255) << 8) | round(b * 255))
    out.append("const std::array<std::uint32_t, 256> k%s = {" % n.capitalize())
    for i in range(0, 256, 8):
        out.append("    " + ", ".join("0x%06x" % v for v in vals[i:i + 8]) + ",")
    out.append("};")
    out.append("")
out.append("}  // namespace zep::colour")
sys.stdout.write("\n".join(out) + "\n")
