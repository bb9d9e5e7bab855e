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
# A sanitized build runs several times slower; a test that fails there gets
# two more runs, so a fault fails all three while a timing stall does not.
case "$build" in
build-asan | build-tsan) retry=(--repeat until-pass:3) ;;
esac
exec "$root/scripts/with-display.sh" ctest --output-on-failure -j "$(nproc)" --timeout 600 "${retry[@]}"
