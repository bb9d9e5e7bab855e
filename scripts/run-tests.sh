#!/usr/bin/env bash
# Runs every test of one build folder through ctest, with a display (Xvfb
# when there is none) and the sanitizer settings the suite expects.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
# No sound card: SDL plays into its dummy driver unless a test asks otherwise.
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
source "$root/scripts/sanitizer-env.sh"
cd "$root/$build"
retry=()
# LeakSanitizer's end-of-process check now and then crashes in its own tracer
# ("Tracer caught signal 11") after a drawing test has passed, when the
# machine is busy: it races a thread of Mesa's that is still winding down.
# Under a sanitizer Mesa starts none: llvmpipe draws on the calling thread and
# the shader cache, whose writer thread it is, is off. A failed test also gets
# two more runs; a real fault fails all three.
case "$build" in
build-asan | build-tsan)
  export LP_NUM_THREADS=${LP_NUM_THREADS:-0}
  export MESA_SHADER_CACHE_DISABLE=${MESA_SHADER_CACHE_DISABLE:-true}
  retry=(--repeat until-pass:3)
  ;;
esac
exec "$root/scripts/with-display.sh" ctest --output-on-failure -j "$(nproc)" --timeout 600 "${retry[@]}"
