#!/usr/bin/env bash
# Whole-process start-up, offline, to the first painted frame, and its peak memory: the program's
# main window on the demo bank against a bare Qt window with a label, side by side in one run.
# Measured on the offscreen platform and, when an X display is given (DISPLAY, e.g. an Xvfb), on
# that display too: only a real display shows what the GL driver costs.
#
#   DISPLAY=:13 bench/compare_startup.sh [BUILD_DIR]      (default: build; RUNS=20)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${RUNS:-20}

cmake --build "$build" --target start_bare start_tarnex bank_data -j 2 >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/bin/kstk.dat" "$build/bin/titao.dat" "$work/"

# One program, RUNS times: the median wall time in milliseconds and the largest peak RSS in KB.
measure() {
  local platform=$1
  shift
  local times=() memory=0
  for _ in $(seq "$runs"); do
    local start end rss
    start=$(date +%s%N)
    rss=$(QT_QPA_PLATFORM=$platform /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n1)
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
    [ "$rss" -gt "$memory" ] && memory=$rss
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
  echo "$median $memory"
}

platforms=(offscreen)
[ -n "${DISPLAY:-}" ] && platforms+=(xcb)
printf '%-10s %-20s %10s %12s\n' platform program "start ms" "peak KB"
for platform in "${platforms[@]}"; do
  read -r bare_ms bare_mb < <(measure "$platform" "$build/bench/start_bare")
  read -r main_ms main_mb < <(measure "$platform" "$build/bench/start_tarnex" "$work")
  printf '%-10s %-20s %10s %12s\n' "$platform" "bare window" "$bare_ms" "$bare_mb"
  printf '%-10s %-20s %10s %12s\n' "$platform" "tarnex main window" "$main_ms" "$main_mb"
  awk -v p="$platform" -v bt="$bare_ms" -v bm="$bare_mb" -v mt="$main_ms" -v mm="$main_mb" \
    'BEGIN { printf "%-10s ratio: start %.2fx (target < 2x), peak memory %.2fx (target < 1.5x)\n", p, mt / bt, mm / bm }'
done
