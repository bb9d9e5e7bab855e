#!/usr/bin/env bash
# Runs every benchmark program of one build folder, with a display.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
status=0
for bench in "$root/$build"/bench/*Bench; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$root/scripts/with-display.sh" "$bench" ${BENCH_ARGS:-} || status=1
done
exit $status
