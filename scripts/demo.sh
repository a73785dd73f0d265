#!/usr/bin/env bash
# Installs what is missing, builds the library and the gallery, and draws every
# page of the gallery into output/gallery/: one multi-page PDF file and one PNG
# file per page.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/install-deps.sh

build=${ZEP_BUILD_DIR:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target gallery

out="$top/output/gallery"
rm -rf "$out"
export GL_DSPATH="$top/$build/czepdbase/"
# Workstation 2 writes files; the gallery draws its pages once as PDF, once as PNG.
mkdir -p "$top/output"
log="$top/output/gallery.log"
if ! "$top/$build/gallery" "$out" -GL_MSGLEV=2 2>"$log"; then
  cat "$log" >&2
  echo "The gallery failed; its messages are above and in $log." >&2
  exit 1
fi
echo
echo "The gallery is drawn, $(ls "$out"/gallery_*.png | wc -l) pages:"
echo "  $out/gallery.pdf"
echo "  $out/gallery_0001.png ... $(basename "$(ls "$out"/gallery_*.png | tail -1)")"
echo "  $out/gallery-pages.txt (the page titles)"
