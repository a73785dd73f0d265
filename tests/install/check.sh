#!/usr/bin/env bash
# Installs the built tree into a temporary prefix and builds a program outside
# the tree against it, once through find_package(zep) and once through pkg-config.
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

cmake -S "$src" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
out=$(env -u GL_DSPATH "$work/cmake-build/consumer")
echo "find_package consumer: $out"
case "$out" in "20 "*" zep-7.0.0") ;; *) echo "unexpected output"; exit 1 ;; esac

export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
c++ -std=c++20 "$src/consumer.cpp" -o "$work/pc-consumer" $(pkg-config --cflags --libs zep)
out=$(env -u GL_DSPATH "$work/pc-consumer")
echo "pkg-config consumer: $out"
case "$out" in "20 "*" zep-7.0.0") ;; *) echo "unexpected output"; exit 1 ;; esac

# The README's first program compiles and runs as printed, against pkg-config.
readme="$src/../../README.md"
awk '/^## A first program/ {on = 1; next}
     on && /^    / {code = 1; print substr($0, 5); next}
     on && code && /^$/ {print ""; next}
     on && code {exit}' "$readme" >"$work/first.cpp"
grep -q 'zep::sgcls' "$work/first.cpp" || { echo "no first program found in README.md"; exit 1; }
c++ -std=c++20 -Wall -Wextra -Werror "$work/first.cpp" -o "$work/first" $(pkg-config --cflags --libs zep)
# The data of this temporary prefix, not of the compiled default /usr/local.
(cd "$work" && GL_DSPATH="$prefix/lib/czepdbase/" ./first -SW_IFL=1 -GL_MSGLEV=2 2>/dev/null)
test -s "$work/zep_0001.png" || { echo "the README's first program drew no zep_0001.png"; exit 1; }
echo "README first program: drawn"
