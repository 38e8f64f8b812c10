#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite in three
# configurations: the normal (Debug) build, the AddressSanitizer + UBSan
# build, and the optimised Release build that players and the benchmarks use.
# The Release build also builds every benchmark and runs each once, briefly,
# so none stops compiling or running unnoticed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
for cfg in debug asan release; do
  dir=build/$cfg
  args=(-DCMAKE_BUILD_TYPE=Debug -DZK_BUILD_BENCH=OFF)
  targets=(all)
  case $cfg in
    asan) args+=(-DZK_SANITIZE=ON) ;;
    release)
      args=(-DCMAKE_BUILD_TYPE=Release -DZK_BUILD_BENCH=ON)
      targets=(all bench)
      ;;
  esac
  cmake -S . -B "$dir" -G Ninja "${args[@]}" >/dev/null
  cmake --build "$dir" -j "$jobs" --target "${targets[@]}"
  echo "== tests ($cfg) =="
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600
done

echo "== benchmarks (one short pass each) =="
ran=0
for b in build/release/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "-- $(basename "$b")"
  "$b" --benchmark_min_time=0.01 >/dev/null
  ran=$((ran + 1))
done
if [ "$ran" -eq 0 ]; then
  echo "no benchmark was built" >&2
  exit 1
fi
