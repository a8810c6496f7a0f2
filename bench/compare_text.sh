#!/usr/bin/env bash
# Whole-process comparison of plain-text extraction from a 1 MB rich-edit RTF document (Chinese
# text in code page 936, formatting, tables): `tarnex-bank text FILE` against `unrtf --text FILE`.
#
#   bench/compare_text.sh [BUILD_DIR]      (default: build; needs the targets tarnex-bank, rtf_sample)
#
# Uses hyperfine when installed, else a loop of runs timed with date.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${RUNS:-20}

cmake --build "$build" --target rtf_sample tarnex-bank -j "$(nproc)" >/dev/null
bank="$build/bin/tarnex-bank"
sample_tool="$build/bench/rtf_sample"
command -v unrtf >/dev/null || { echo "unrtf is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sample="$work/sample.rtf"
"$sample_tool" "$sample" 1048576
echo "sample: $(stat -c %s "$sample") bytes"

# Both must read the whole file: compare how much text each gives.
ours_lines=$("$bank" text "$sample" | wc -l)
unrtf_lines=$(unrtf --text "$sample" 2>/dev/null | wc -l)
echo "lines of text: tarnex-bank $ours_lines, unrtf $unrtf_lines"

if command -v hyperfine >/dev/null; then
  hyperfine --warmup 3 --runs "$runs" --style basic \
    --command-name "tarnex-bank text" "'$bank' text '$sample' > /dev/null" \
    --command-name "unrtf --text" "unrtf --text '$sample' > /dev/null 2>&1"
else
  time_runs() {
    local start end
    start=$(date +%s%N)
    for _ in $(seq "$runs"); do "$@" >/dev/null 2>&1; done
    end=$(date +%s%N)
    echo $(( (end - start) / runs / 1000 ))
  }
  ours=$(time_runs "$bank" text "$sample")
  theirs=$(time_runs unrtf --text "$sample")
  echo "tarnex-bank text: ${ours} us per run"
  echo "unrtf --text:     ${theirs} us per run"
fi
