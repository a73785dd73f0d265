#!/usr/bin/env bash
# Regenerates the reference pictures of the picture regression test from the
# gallery as it draws now. Run it only when a change of the pictures is
# intended, then look at every changed page before committing it:
#   scripts/update-references.sh && git status tests/reference
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
build=${ZEP_BUILD_DIR:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  scripts/install-deps.sh
  cmake -S . -B "$build" >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target gallery >/dev/null
refs="$top/tests/reference"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
GL_DSPATH="$top/$build/czepdbase/" GL_MSGLEV=2 "$top/$build/gallery" "$work" --png 2>/dev/null
rm -f "$refs"/gallery_*.png
cp "$work"/gallery_*.png "$refs"/
echo "References regenerated in $refs:"
git -C "$top" status --short -- tests/reference || ls "$refs"
