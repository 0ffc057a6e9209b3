#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for VELK_FUZZ_SECONDS seconds
# (default 30). Does nothing when clang is not installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELK_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${VELK_FUZZ_SECONDS:-30}

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found, skipping"
  exit 0
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELK_FUZZ=ON -DVELK_BUILD_TOOLS=OFF -DVELK_BUILD_TESTS=OFF -DVELK_BUILD_BENCH=OFF -DVELK_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir "$build" -L fuzz --output-on-failure -j"$(nproc)" --timeout $((seconds * 3 + 120))
