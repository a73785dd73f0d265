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
