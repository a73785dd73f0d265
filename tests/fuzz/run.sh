#!/bin/bash
# Builds the libFuzzer harnesses of this folder against the library compiled
# with clang's fuzzer instrumentation, AddressSanitizer and UBSan, then runs each
# one for a bounded time. Not part of the CMake build or of ctest.
#
#   tests/fuzz/run.sh [seconds per harness, default 60] [harness names...]
#   (0 seconds: build only)
#
# Environment: BUILD (default <repo>/build-fuzz), JOBS (default 2).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${BUILD:-$repo/build-fuzz}
jobs=${JOBS:-2}
seconds=${1:-60}
shift || true

if [[ -z ${CXX:-} ]]; then
  CXX=clang++
  command -v clang++-14 >/dev/null && CXX=clang++-14
fi
cxx=$CXX
flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -Wno-deprecated-declarations
       -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all
       -I"$repo/include" -I"$repo" -I"$repo/tests"
       -DZEP_DEFAULT_DSPATH="\"$repo/data/\"" -DZEP_VERSION_NAME="\"zep-fuzz\"")
read -r -a pkg <<<"$(pkg-config --cflags gtk+-2.0 pangocairo cairo cairo-pdf cairo-ps cairo-svg netcdf libpng)"
read -r -a libs <<<"$(pkg-config --libs gtk+-2.0 pangocairo cairo cairo-pdf cairo-ps cairo-svg netcdf libpng)"

mkdir -p "$build/obj" "$build/corpus" "$build/artifacts"

# The library, instrumented for coverage but without libFuzzer's main: the
# kernel folders and the packages whose file readers are fuzzed (geography, colour).
objects=()
for src in "$repo"/{foundation,workstation,driver,primitives,geography,colour}/*.cpp "$repo"/graphics/*.cpp "$repo"/graphics/*/*.cpp; do
  rel=${src#"$repo"/}
  objects+=("$build/obj/${rel//\//_}.o")
done
export cxx build repo
printf '%s\n' "${flags[@]}" "${pkg[@]}" >"$build/flags.txt"
compile_one() {
  src=$1
  rel=${src#"$repo"/}
  obj="$build/obj/${rel//\//_}.o"
  if [[ ! -f $obj || $src -nt $obj || -n $(find "$repo/include" "$repo"/{foundation,driver,primitives,workstation,graphics,geography,colour} -name '*.hpp' -newer "$obj" -print -quit) ]]; then
    mapfile -t f <"$build/flags.txt"
    "$cxx" "${f[@]}" -fsanitize=fuzzer-no-link -c "$src" -o "$obj"
  fi
}
export -f compile_one
printf '%s\n' "$repo"/{foundation,workstation,driver,primitives,geography,colour}/*.cpp "$repo"/graphics/*.cpp "$repo"/graphics/*/*.cpp |
  xargs -P "$jobs" -I{} bash -c 'compile_one "$1"' _ {}
rm -f "$build/libzep-fuzz.a"
ar rcs "$build/libzep-fuzz.a" "${objects[@]}"

harnesses=("$@")
if [[ ${#harnesses[@]} -eq 0 ]]; then
  for h in "$here"/fuzz_*.cpp; do harnesses+=("$(basename "$h" .cpp)"); done
fi

for name in "${harnesses[@]}"; do
  # exit() of the library is wrapped so that the driver's documented exit on an
  # unreadable colormap returns to the harness (see README.md).
  "$cxx" "${flags[@]}" "${pkg[@]}" -fsanitize=fuzzer "$here/$name.cpp" "$build/libzep-fuzz.a" \
    -Wl,--wrap=exit "${libs[@]}" -lm -o "$build/$name"
done

[[ $seconds -eq 0 ]] && exit 0

status=0

for name in "${harnesses[@]}"; do
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  # Seeds: the committed corpus of the harness (the library's data files of
  # the kind it reads, and hand-made inputs).
  seeds="$here/corpus/$name"
  if [[ ! -d $seeds ]]; then
    echo "=== $name: no seed corpus in $seeds"
    status=1
    continue
  fi
  # <name>.options: libFuzzer flags on the first line, ASAN_OPTIONS on the second.
  opts=()
  asan=${ASAN_OPTIONS:-}
  if [[ -f "$here/$name.options" ]]; then
    { read -r -a opts; read -r asan || true; } <"$here/$name.options"
  fi
  echo "=== $name: ${seconds}s"
  if (cd "$build" && GL_DSPATH="$repo/data/" ASAN_OPTIONS=$asan \
    LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$repo/tests/lsan.supp} \
    "./$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 -max_len=16384 \
      -artifact_prefix="$build/artifacts/$name-" "${opts[@]}" "$corpus" "$seeds"); then
    echo "=== $name: no finding"
  else
    echo "=== $name: FINDING (see $build/artifacts/)"
    status=1
  fi
done
exit $status
