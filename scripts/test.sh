#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite twice:
# the normal (Debug) build and the AddressSanitizer + UBSan build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
for cfg in debug asan; do
  dir=build/$cfg
  extra=()
  if [ "$cfg" = asan ]; then extra=(-DZK_SANITIZE=ON); fi
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZK_BUILD_BENCH=OFF "${extra[@]}" >/dev/null
  cmake --build "$dir" -j "$jobs"
  echo "== tests ($cfg) =="
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
done
