#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time, starting from the seed
# corpus in fuzz/corpus/<target>. New inputs go to a temporary folder; crashes stop the run and are
# left in the build folder (crash-*). Usage: fuzz/run.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSCORCHWIRE_FUZZ=ON \
   -DSCORCHWIRE_TESTS=OFF -DSCORCHWIRE_BENCH=OFF >/dev/null
targets=(fuzz_state fuzz_vst3_preset fuzz_vst2_preset fuzz_ini)
cmake --build build-fuzz --parallel "$(nproc)" --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in "${targets[@]}"; do
   mkdir -p "$work/$target"
   echo "== $target: ${seconds}s"
   (cd build-fuzz && "fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 -close_fd_mask=1 \
      "$work/$target" "../fuzz/corpus/$target" 2>&1 | tail -n 40)
done
