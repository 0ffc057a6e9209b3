#!/usr/bin/env bash
# Times velk-render on every file of the speed corpus (../shared/speed-corpus): the whole
# process, load + render to PNG at the file's own size, wall seconds, mean of 3 runs
# after one unrecorded warm-up run, which is how the peers' figures in the corpus README
# were taken. Prints our time per file beside the peers' and the geometric means, and
# our processor time (user + system), which a busy machine inflates less than wall time.
#
#   bash bench/speed_corpus.sh                 # builds a Release velk-render in build-release/
#   bash bench/speed_corpus.sh path/to/velk-render
#
# VELK_SPEED_CORPUS overrides the corpus folder, VELK_BENCH_BUILD_DIR the build folder,
# VELK_BENCH_RUNS the number of timed runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${VELK_SPEED_CORPUS:-$root/../shared/speed-corpus}
runs=${VELK_BENCH_RUNS:-3}

if [ ! -d "$corpus" ]; then
  echo "speed corpus not found at $corpus: nothing to time"
  exit 0
fi

if [ $# -ge 1 ]; then
  render=$1
else
  build=${VELK_BENCH_BUILD_DIR:-$root/build-release}
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVELK_BUILD_TESTS=OFF -DVELK_BUILD_BENCH=OFF >/dev/null
  cmake --build "$build" --target velk-render >/dev/null
  render=$build/tools/velk-render/velk-render
fi
[ -x "$render" ] || { echo "speed_corpus.sh: $render is not an executable" >&2; exit 2; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# The peers' table of the corpus README: "| file | librsvg | resvg | QtSvg |".
peer_time() { # file column -> seconds, or "-" when not listed or not a number
  awk -F'|' -v name="$1" -v col="$2" '
    { gsub(/ /, "", $2) }
    $2 == name { v = $(col + 2); gsub(/ /, "", v); found = v }
    END { print (found ~ /^[0-9.]+$/) ? found : "-" }' "$corpus/README.md"
}

# "wall cpu" seconds of one run of velk-render.
time_run() {
  local TIMEFORMAT='%R %U %S'
  { time "$render" "$1" "$2" >/dev/null 2>&1; } 2>&1 | awk '{ print $1, $2 + $3 }'
}

printf '%-28s %9s %9s %9s %9s %9s\n' file velk velk-cpu librsvg resvg QtSvg
rows=()
for svg in "$corpus"/*.svg; do
  name=$(basename "$svg" .svg)
  if ! "$render" "$svg" "$out/$name.png" >/dev/null 2>"$out/error"; then
    printf '%-28s   failed: %s\n' "$name" "$(head -c 200 "$out/error")"
    continue
  fi
  wall=0
  cpu=0
  for ((i = 0; i < runs; ++i)); do
    read -r w c < <(time_run "$svg" "$out/$name.png")
    wall=$(awk -v t="$wall" -v a="$w" 'BEGIN { print t + a }')
    cpu=$(awk -v t="$cpu" -v a="$c" 'BEGIN { print t + a }')
  done
  mean=$(awk -v t="$wall" -v n="$runs" 'BEGIN { printf "%.3f", t / n }')
  meancpu=$(awk -v t="$cpu" -v n="$runs" 'BEGIN { printf "%.3f", t / n }')
  librsvg=$(peer_time "$name" 1)
  resvg=$(peer_time "$name" 2)
  qtsvg=$(peer_time "$name" 3)
  printf '%-28s %9s %9s %9s %9s %9s\n' "$name" "$mean" "$meancpu" "$librsvg" "$resvg" "$qtsvg"
  rows+=("$name $mean $librsvg $resvg $qtsvg $meancpu")
done

# Geometric means: ours over every file timed, then ours against each peer over the
# files that peer has a figure for.
printf '%s\n' "${rows[@]}" | awk '
  NF == 6 {
    all += log($2); cpu += log($6); n++
    for (c = 3; c <= 5; c++)
      if ($c != "-") { ours[c] += log($2); ourscpu[c] += log($6); peer[c] += log($c); count[c]++ }
  }
  END {
    if (n == 0) { print "no file rendered"; exit }
    printf "geometric mean, velk over %d files: %.3f s wall, %.3f s processor\n", n, exp(all / n), exp(cpu / n)
    split("librsvg resvg QtSvg", names, " ")
    for (c = 3; c <= 5; c++)
      if (count[c])
        printf "geometric mean over the %d files %s was timed on: velk %.3f s (%.3f s processor), %s %.3f s\n",
          count[c], names[c - 2], exp(ours[c] / count[c]), exp(ourscpu[c] / count[c]), names[c - 2],
          exp(peer[c] / count[c])
  }'
