#!/usr/bin/env bash
# Builds every libFuzzer target (fuzz/*.cmake) with clang and runs each for a bounded time.
# Exits non-zero when a target crashes, hangs, leaks or trips a sanitizer.
#
#   fuzz/run.sh                      all targets, 60 s each
#   FUZZ_SECONDS=300 fuzz/run.sh fuzz_rtf_reader
#
# Seeds: fuzz/corpus/TARGET/ when it exists, and the folders listed (relative to the source tree)
# in fuzz/TARGET.seeds. A dictionary fuzz/TARGET.dict is used when present. New inputs and crash
# artifacts go to the build folder, never into the source tree.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_BUILD_JOBS:-$(nproc)}

if ! command -v clang++ >/dev/null; then
  echo "clang++ is needed for the fuzz targets" >&2
  exit 2
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARNEX_BUILD_FUZZ=ON -DTARNEX_BUILD_TESTS=OFF -DTARNEX_BUILD_BENCH=OFF >"$build.configure.log" 2>&1 \
  || { cat "$build.configure.log" >&2; exit 2; }

if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < <(sed -n 's/.*tarnex_add_fuzzer(\(fuzz_[A-Za-z0-9_]*\).*/\1/p' "$here"/*.cmake | sort -u)
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets found in $here/*.cmake" >&2
  exit 2
fi

failed=()
for target in "${targets[@]}"; do
  echo "== $target: build"
  cmake --build "$build" --target "$target" -j "$jobs" >"$build/$target.build.log" 2>&1 \
    || { tail -n 40 "$build/$target.build.log" >&2; failed+=("$target (build)"); continue; }

  corpus="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  seeds=()
  [ -d "$here/corpus/$target" ] && seeds+=("$here/corpus/$target")
  if [ -f "$here/$target.seeds" ]; then
    while read -r dir; do
      [ -n "$dir" ] && [ "${dir#\#}" = "$dir" ] && [ -d "$root/$dir" ] && seeds+=("$root/$dir")
    done <"$here/$target.seeds"
  fi
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536
           -print_final_stats=1 -artifact_prefix="$artifacts/")
  [ -f "$here/$target.dict" ] && options+=(-dict="$here/$target.dict")

  echo "== $target: ${seconds}s, seeds: ${seeds[*]:-none}"
  if QT_QPA_PLATFORM=offscreen "$build/fuzz/$target" "${options[@]}" "$corpus" "${seeds[@]}" \
       >"$build/$target.log" 2>&1; then
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' "$build/$target.log" || true
  else
    echo "!! $target failed; log $build/$target.log, artifacts in $artifacts" >&2
    grep -E -A 30 'ERROR|==ABORTING|deadly signal|Test unit written' "$build/$target.log" | head -n 60 >&2 || true
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzzing passed: ${targets[*]}"
