#!/usr/bin/env bash
# Builds the benchmarks (optimized, in build-bench/) and runs them in a scratch
# folder, then prints one table: each case against its baseline, both measured
# in the same run (alternating, medians of BENCH_REPS runs, 5 by default).
#   bench/run.sh                 every benchmark
#   bench/run.sh lines text      only those whose name contains a word given
#   BENCH_SCALE=0.05 bench/run.sh   a quick check with smaller problems
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/install-deps.sh
# Baselines of the benchmarks only, never used by the library: GMT and Ghostscript
# (geography), matplotlib (charts, colour, vectors).
bench_packages=(gmt gmt-gshhg-low ghostscript python3-matplotlib)
bench_missing=()
for p in "${bench_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || bench_missing+=("$p")
done
if ((${#bench_missing[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${bench_missing[@]}"
fi
build=${ZEP_BENCH_BUILD_DIR:-build-bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEP_BUILD_TESTS=OFF ${ZEP_BENCH_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export GL_DSPATH="$top/$build/czepdbase/"
rows=$work/rows
: >"$rows"
for exe in "$build"/bench/bench_*; do
  name=$(basename "$exe")
  [ "$name" = bench_pipeline_throughput ] && continue
  if (($#)); then
    keep=0
    for w in "$@"; do [[ $name == *"$w"* ]] && keep=1; done
    ((keep)) || continue
  fi
  echo "running $name ..." >&2
  (cd "$work" && "$top/$exe") | tee -a "$rows" | grep -v '^ROW|\|^NOTE|' >&2 || true
done

# Whole figures against matplotlib: a script, since the baseline is Python.
keep=1
if (($#)); then
  keep=0
  for w in "$@"; do [[ figures_vs_matplotlib == *"$w"* ]] && keep=1; done
fi
if ((keep)); then
  echo "running figures_vs_matplotlib ..." >&2
  bench/figures_vs_matplotlib.sh "$build" | tee -a "$rows" | grep -v '^ROW|\|^NOTE|' >&2 || true
fi

echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(free -g | awk '/Mem:/{print $2}') GiB;" \
  "cairo $(pkg-config --modversion cairo), PROJ $(pkg-config --modversion proj 2>/dev/null || echo -)," \
  "PLplot $(pkg-config --modversion plplot 2>/dev/null || echo -); medians of ${BENCH_REPS:-5} alternating runs${BENCH_SCALE:+, sizes scaled by $BENCH_SCALE}"
echo
echo "| case | libzep ms | baseline ms | ratio | baseline | target |"
echo "|---|---:|---:|---:|---|---|"
grep '^ROW|' "$rows" | awk -F'|' '{printf "| %s | %s | %s | %s | %s | %s |\n", $2, $3, $4, $5, $6, $7}'
if grep -q '^NOTE|' "$rows"; then
  echo
  grep '^NOTE|' "$rows" | cut -d'|' -f2- | sed 's/^/- /'
fi
