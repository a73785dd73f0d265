#!/usr/bin/env bash
# Installs what is missing, builds the library and its examples, and draws the
# first example figure into a PDF file and PNG pages under output/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/install-deps.sh

build=${ZEP_BUILD_DIR:-build}
cmake -S . -B "$build" -DZEP_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target first_figure

out="$top/output"
mkdir -p "$out"
cd "$out"
rm -f zep.pdf zep_*.png
export GL_DSPATH="$top/$build/czepdbase/"
# Workstation 2 writes files; IFL selects the format (4 PDF, 1 PNG).
"$top/$build/first_figure" 2 -SW_IFL=4 -GL_MSGLEV=1
"$top/$build/first_figure" 2 -SW_IFL=1 -GL_MSGLEV=1
echo
echo "The first figure is drawn:"
for f in "$out"/zep.pdf "$out"/zep_*.png; do echo "  $f"; done
