#!/usr/bin/env bash
# The four figures of the README (examples/figure_*.cpp), each a whole program
# writing its PDF page, against the same figures in matplotlib and cartopy
# (examples/matplotlib/figure_*.py, the Debian packages python3-matplotlib and
# python3-cartopy, baselines only), alternating in this run; medians of
# BENCH_REPS runs (5 by default) of the whole process, start-up included.
# Prints one "ROW|..." line per figure for bench/run.sh.
#
#   bench/figures_vs_matplotlib.sh [build-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-bench}
case $build in /*) ;; *) build=$top/$build ;; esac
python=/usr/bin/python3
if ! "$python" -c 'import matplotlib, cartopy' 2>/dev/null; then
  apt-get install -y -q python3-matplotlib python3-cartopy >/dev/null
fi
export GL_DSPATH=${GL_DSPATH:-$build/czepdbase/} GL_MSGLEV=2 MPLBACKEND=Agg
reps=${BENCH_REPS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Seconds of one run of a command.
seconds() {
  local t0 t1
  t0=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  t1=$(date +%s.%N)
  echo "$t1 - $t0" | bc -l
}
median() { sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

for name in time_series global_field wind scatter; do
  zep="$build/figure_$name"
  mpl="$top/examples/matplotlib/figure_$name.py"
  [ -x "$zep" ] || { echo "NOTE|figure_$name is not built in $build" ; continue; }
  : >zep.t
  : >mpl.t
  for ((i = 0; i < reps; i++)); do
    if ((i % 2 == 0)); then
      seconds "$zep" >>zep.t
      seconds "$python" "$mpl" >>mpl.t
    else
      seconds "$python" "$mpl" >>mpl.t
      seconds "$zep" >>zep.t
    fi
  done
  z=$(median <zep.t)
  m=$(median <mpl.t)
  printf 'ROW|figure %s to PDF, whole program|%.1f|%.1f|%.2f|matplotlib %s|-\n' "$name" \
    "$(echo "$z * 1000" | bc -l)" "$(echo "$m * 1000" | bc -l)" "$(echo "$z / $m" | bc -l)" \
    "$("$python" -c 'import matplotlib; print(matplotlib.__version__)')"
done
