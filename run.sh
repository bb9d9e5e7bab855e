#!/usr/bin/env bash
# Installs what is missing, builds, and runs Murmel Worlds. Arguments go to the game.
# Without a display the robot player plays the game on a virtual one instead
# and leaves its screenshots, contact sheet and recorded sound in out/.
set -euo pipefail
cd "$(dirname "$0")"
# "./run.sh --web": the browser build, served on this machine for a browser to open.
if [ "${1:-}" = "--web" ]; then
  scripts/install-deps.sh --web
  make web
  exec /usr/bin/python3 scripts/serve-web.py build-web/site --port 8000
fi
scripts/install-deps.sh
make build
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/murmel-worlds "$@"
fi

echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); the robot plays the game on a virtual display instead."
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(-win -w 1280 -h 720)
out=out
mkdir -p "$out"
rm -f "$out"/*.png "$out/murmel-worlds.wav" "$out/timeline.txt"
raw=$(mktemp /tmp/murmel-worlds-sound-XXXXXX)
trap 'rm -f "$raw"' EXIT
status=0
# At 60 frames a second, so that the recording sounds as the game does; the
# robot gives up after five minutes of frames.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$raw" scripts/with-display.sh \
  ./build/murmel-worlds-autoplay --screenshots "$out" --wav "$out/murmel-worlds.wav" --max-frames 18000 \
  "${args[@]}" 2> >(grep -v "disk i/o audio driver\|Writing to file" >&2) | tee "$out/timeline.txt" || status=$?
echo "run.sh: screenshots in $out/*.png, all of them in $out/contact-sheet.png;" \
  "sound in $out/murmel-worlds.wav; milestones in $out/timeline.txt"
exit $status
