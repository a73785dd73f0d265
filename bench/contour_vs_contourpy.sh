#!/usr/bin/env bash
# Contour lines and filled bands of one 1000 x 1000 field with 20 levels,
# computed by this library and by contourpy's serial algorithm (the Debian
# package python3-contourpy, a baseline only: the library never uses Python),
# both in this run, on the same data. Prints both times and their ratio.
#
#   bench/contour_vs_contourpy.sh [build-dir] [n] [levels]
#
# Needs: apt-get install python3-contourpy python3-numpy
set -euo pipefail
build=${1:-build}
n=${2:-1000}
nlev=${3:-20}
bench="$build/bench/bench_contour_speed"
[ -x "$bench" ] || bench="$build/bench_contour_speed"
python=/usr/bin/python3
if [ ! -x "$bench" ]; then
  echo "build the benchmark first: cmake --build $build --target bench_contour_speed" >&2
  exit 1
fi
if ! "$python" -c 'import contourpy, numpy' 2>/dev/null; then
  echo "contourpy is missing: apt-get install python3-contourpy python3-numpy" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for kind in smooth rough; do
  zep_out=$("$bench" "$n" "$nlev" "$kind" "$work/field")
  echo "$zep_out" | head -1
  cp_out=$("$python" - "$work/field" "$n" <<'EOF'
import sys, time
import numpy as np
import contourpy

prefix, n = sys.argv[1], int(sys.argv[2])
z = np.fromfile(prefix + ".z", dtype=np.float32).reshape(n, n).astype(np.float64)
x = np.fromfile(prefix + ".x", dtype=np.float32).astype(np.float64)
levels = np.fromfile(prefix + ".lev", dtype=np.float32).astype(np.float64)
# The two open-ended bands as bands to just beyond the field's range.
edges = np.concatenate(([z.min() - 1.0], levels, [z.max() + 1.0]))

def best(f, runs=5):
    t = 1e30
    for _ in range(runs):
        t0 = time.perf_counter()
        out = f()
        t = min(t, time.perf_counter() - t0)
    return t, out

def lines():
    gen = contourpy.contour_generator(x, x, z, name="serial", line_type="ChunkCombinedOffset")
    return [gen.lines(l) for l in levels]

def bands():
    gen = contourpy.contour_generator(x, x, z, name="serial", fill_type="ChunkCombinedOffsetOffset")
    return [gen.filled(a, b) for a, b in zip(edges[:-1], edges[1:])]

tl, lo = best(lines)
tb, bo = best(bands)
npl = sum(len(r[1][0]) - 1 for r in lo if r[1][0] is not None)
npt = sum(len(r[0][0]) for r in lo if r[0][0] is not None)
nring = sum(len(r[1][0]) - 1 for r in bo if r[1][0] is not None)
nbpt = sum(len(r[0][0]) for r in bo if r[0][0] is not None)
print("contourpy %s serial: lines %.2f ms (%d polylines, %d points), bands %.2f ms (%d bands, %d rings, %d points)"
      % (contourpy.__version__, tl * 1e3, npl, npt, tb * 1e3, len(edges) - 1, nring, nbpt))
print("cp_lines_ms %.3f" % (tl * 1e3))
print("cp_bands_ms %.3f" % (tb * 1e3))
EOF
)
  echo "$cp_out" | head -1
  zl=$(echo "$zep_out" | awk '/^zep_lines_ms/ {print $2}')
  zb=$(echo "$zep_out" | awk '/^zep_bands_ms/ {print $2}')
  cl=$(echo "$cp_out" | awk '/^cp_lines_ms/ {print $2}')
  cb=$(echo "$cp_out" | awk '/^cp_bands_ms/ {print $2}')
  awk -v zl="$zl" -v zb="$zb" -v cl="$cl" -v cb="$cb" -v kind="$kind" 'BEGIN {
    printf "%s field: contourpy time / zep time: lines %.2f, bands %.2f (above 1: zep is faster)\n", kind, cl / zl, cb / zb }'
done
