#!/usr/bin/env bash
# Installs the dependencies, builds VelkSVG and runs the main job on the bundled
# example (README command a).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELK_BUILD_DIR:-$root/build}

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j"$(nproc)" --target velk-inspect
"$build/tools/velk-inspect/velk-inspect" "$root/examples/sunrise.svg"
