#!/usr/bin/env bash
# Regenerates docs/parameters.md from the parameter tables and
# docs/parameter-meanings.txt (add a line there for every new parameter).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
build=${ZEP_BUILD_DIR:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  scripts/install-deps.sh
  cmake -S . -B "$build" >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target parameter_reference >/dev/null
"$build/parameter_reference" docs/parameter-meanings.txt docs/parameters.md
echo "docs/parameters.md regenerated."

# The README's pictures: small copies of some gallery pages.
cmake --build "$build" -j "$(nproc)" --target gallery >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
GL_DSPATH="$top/$build/czepdbase/" GL_MSGLEV=2 "$build/gallery" "$work" --png 2>/dev/null
rm -f docs/images/gallery-*.png
while read -r file kind title; do
  case "$title" in
    "LINEAR, LOG-LOG"*) name=frames ;;
    "MAP PROJECTIONS 19"*) name=maps ;;
    "LABELLED LINES"*) name=labelled-lines ;;
    "POLYLINES AND MARKERS"*) name=polylines ;;
    "FILLED POLYGONS"*) name=fills ;;
    "CONTOURS"*) name=contours ;;
    "COLOUR-MAPPED"*) name=colour-data ;;
    "CONTINUOUS COLORMAPS"*) name=colormaps ;;
    "STROKE-FONT TEXT"*) name=stroke-text ;;
    "SYSTEM-FONT TEXT"*) name=system-text ;;
    "CHARTS:"*) name=charts ;;
    *) continue ;;
  esac
  convert "$work/$file" -resize 50% -colors 64 -strip "PNG8:docs/images/gallery-$name.png"
done <"$work/gallery-pages.txt"

# The README's four figures and the colormap swatches of docs/colormaps.md.
cmake --build "$build" -j "$(nproc)" --target figure_time_series figure_global_field figure_wind figure_scatter \
  colormap_swatches >/dev/null
(
  cd "$work"
  for f in time_series global_field wind scatter; do
    GL_DSPATH="$top/$build/czepdbase/" GL_MSGLEV=2 "$top/$build/figure_$f" -SW_IFL=1
    convert "figure_${f}_0001.png" -resize 60% -colors 128 -strip "PNG8:$top/docs/images/figure-${f//_/-}.png"
  done
  GL_DSPATH="$top/$build/czepdbase/" GL_MSGLEV=2 "$top/$build/colormap_swatches" -SW_IFL=1
  for png in colormap_*_0001.png; do
    n=${png#colormap_}
    n=$((10#${n%%_*}))
    convert "$png" -strip "$top/docs/images/colormap-$n.png"
  done
)
# The vector section's three pages (conic arrows, barbs, Mollweide streamlines).
cmake --build "$build" -j "$(nproc)" --target vector_fields >/dev/null
(
  cd "$work"
  rm -f zep_000?.png
  GL_DSPATH="$top/$build/czepdbase/" GL_MSGLEV=2 "$top/$build/vector_fields" -SW_IFL=1
  for page in 1:conic 2:barbs 3:mollweide; do
    convert "zep_000${page%%:*}.png" -trim -bordercolor white -border 8 -resize 441x -colors 64 -strip \
      "PNG8:$top/docs/images/vectors-${page#*:}.png"
  done
)
echo "docs/images/ regenerated."
