#!/usr/bin/env bash
# Installs the built tree into a temporary prefix and builds a program outside
# the tree against it, once through find_package(zep) and once through pkg-config.
# Neither consumer sets a C++ standard of its own: the package has to carry it.
set -euo pipefail
build=$1
src=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
test -f "$prefix/lib/libzep.a"
test -f "$prefix/include/zep/zep.hpp"
test -d "$prefix/lib/czepdbase"
for page in fontsheet fontpick fontroll; do
  test -f "$prefix/share/man/man1/$page.1"
  if command -v man >/dev/null; then
    man -l "$prefix/share/man/man1/$page.1" 2>/dev/null | grep -q "^NAME" || { echo "man page $page.1 does not format"; exit 1; }
  fi
done

expect_run() {  # program, label
  local out
  out=$(cd "$work" && env -u GL_DSPATH "$1")
  echo "$2: $out"
  case "$out" in "20 "*" zep-7.0.0") ;; *) echo "unexpected output"; exit 1 ;; esac
  # Drawing a page pulls in the driver and the toolkit libraries.
  rm -f "$work/zep_0001.png"
  (cd "$work" && GL_DSPATH="$prefix/lib/czepdbase/" ZEPTEST_DRAW=1 "$1" >/dev/null 2>&1)
  test -s "$work/zep_0001.png" || { echo "$2 drew no page"; exit 1; }
}

cmake -S "$src" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
expect_run "$work/cmake-build/consumer" "find_package consumer"

export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
# The documented line, and the one for static linking.
c++ "$src/consumer.cpp" -o "$work/pc-consumer" $(pkg-config --cflags --libs zep)
expect_run "$work/pc-consumer" "pkg-config consumer"
c++ "$src/consumer.cpp" -o "$work/pc-static-consumer" $(pkg-config --cflags --libs --static zep)
expect_run "$work/pc-static-consumer" "pkg-config --static consumer"

# The README's first program compiles and runs as printed, against pkg-config.
readme="$src/../../README.md"
awk '/^## A first program/ {on = 1; next}
     on && /^    / {code = 1; print substr($0, 5); next}
     on && code && /^$/ {print ""; next}
     on && code {exit}' "$readme" >"$work/first.cpp"
grep -q 'zep::fgcls' "$work/first.cpp" || { echo "no first program found in README.md"; exit 1; }
c++ -std=c++20 -Wall -Wextra -Werror "$work/first.cpp" -o "$work/first" $(pkg-config --cflags --libs zep)
# The data of this temporary prefix, not of the compiled default /usr/local.
(cd "$work" && GL_DSPATH="$prefix/lib/czepdbase/" ./first -SW_IFL=1 -GL_MSGLEV=2 2>/dev/null)
test -s "$work/zep_0001.png" || { echo "the README's first program drew no zep_0001.png"; exit 1; }
echo "README first program: drawn"
