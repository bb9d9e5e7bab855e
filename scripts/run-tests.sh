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
# The suite drives real X servers, a window manager and a sound server, which
# now and then stall a test for reasons of the machine's; a sanitized build
# runs several times slower. A failed test runs again (twice more when
# sanitized), so a fault fails every run while a stall does not. ctest prints
# the output of each failed run.
retry=(--repeat until-pass:2)
case "$build" in
build-asan | build-tsan) retry=(--repeat until-pass:3) ;;
esac
# The bad-input matrix feeds damaged files and settings to whole runs: a
# matter for the plain and AddressSanitizer suites. Under ThreadSanitizer it
# would add a minute to CI and nothing the robot's playthrough does not; nor
# would the drawers' pictures, drawn on the main thread alone.
skip=()
[ "$build" = build-tsan ] && skip=(-E '^BadInputMatrix\.|^Drawers/Drawer(Conformance|Text)\.|^DrawerAgreement\.|^GLESDrawer\.')
exec "$root/scripts/with-display.sh" ctest --output-on-failure -j "$(nproc)" --timeout 600 "${retry[@]}" "${skip[@]}"
