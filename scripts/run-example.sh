#!/usr/bin/env bash
# Installs the dependencies, builds VelkSVG's renderer and renders the bundled examples
# (README command a): examples/*.svg become build/examples/*.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELK_BUILD_DIR:-$root/build}

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j"$(nproc)" --target velk-render
"$build/tools/velk-render/velk-render" --batch --background white "$root/examples" "$build/examples"
for svg in "$root"/examples/*.svg; do
  echo "Wrote $build/examples/$(basename "${svg%.*}").png"
done
