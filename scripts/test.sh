#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
# Window tests need an X display: the suite runs under a virtual one (Xvfb).
#   ZEP_SANITIZE=1 scripts/test.sh   builds and tests with ASan and UBSan.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/install-deps.sh

build=${ZEP_BUILD_DIR:-build}
sanitize=OFF
if [ "${ZEP_SANITIZE:-0}" = 1 ]; then sanitize=ON; build=${ZEP_BUILD_DIR:-build-asan}; fi

cmake -S . -B "$build" -DZEP_SANITIZE=$sanitize -DZEP_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j "$(nproc)" "$@"
