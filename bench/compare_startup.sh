#!/usr/bin/env bash
# Whole-process start-up, offline, to the first painted frame: the program's main window on the
# demo bank against a bare Qt window with a label. Also prints the peak memory of each.
#
#   bench/compare_startup.sh [BUILD_DIR]      (default: build)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${RUNS:-30}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

cmake --build "$build" --target start_bare start_tarnex bank_data -j "$(nproc)" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/bin/kstk.dat" "$build/bin/titao.dat" "$work/"

for program in "$build/bench/start_bare" "$build/bench/start_tarnex $work"; do
  /usr/bin/time -f "$(basename "${program%% *}"): peak memory %M KB" $program 2>&1 | grep 'peak memory'
done
hyperfine --warmup 3 --runs "$runs" --style basic \
  --command-name "bare window" "'$build/bench/start_bare'" \
  --command-name "tarnex main window" "'$build/bench/start_tarnex' '$work'"
