#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs every test (README command b).
# VELK_BUILD_DIR picks the build folder (default: build); VELK_CMAKE_ARGS adds
# configure options (the CI uses them for the sanitizer build).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELK_BUILD_DIR:-$root/build}

bash "$root/scripts/install-deps.sh"
# shellcheck disable=SC2086
cmake -S "$root" -B "$build" -G Ninja -DVELK_WERROR=ON ${VELK_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
# Fast tests first; slow suites have their own labels and a time budget.
ctest --test-dir "$build" -L unit --output-on-failure -j"$(nproc)"
if ctest --test-dir "$build" -N -L conformance | grep -q 'Total Tests: [1-9]'; then
  ctest --test-dir "$build" -L conformance --output-on-failure --timeout "${VELK_SLOW_TIMEOUT:-900}"
fi
# The fuzz targets need clang and their own build; VELK_FUZZ_SECONDS=0 skips them.
if [ "${VELK_FUZZ_SECONDS:-30}" != 0 ]; then
  bash "$root/scripts/fuzz.sh"
fi
