#!/usr/bin/env bash
# Soak runs ("make soak"). The robot's whole playthrough three times in a row
# under AddressSanitizer with UndefinedBehaviorSanitizer (build-asan) and once
# under ThreadSanitizer (build-tsan), then one run of the normal build (build)
# with all 128 playback slots busy through the last world and every audio
# callback timed, while another process keeps the second core busy. Each run
# has a fresh HOME and SDL's dummy audio driver, which calls back in real
# time. A run that fails, hangs or prints any sanitizer report fails the
# whole. The summary is printed and written to docs/soak.md.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${JOBS:-2}
source scripts/sanitizer-env.sh
export SDL_AUDIODRIVER=dummy
robot=murmel-worlds-autoplay
logs=$(mktemp -d "${TMPDIR:-/tmp}/murmel-soak.XXXXXX")
report=docs/soak.md

# The sanitizer runs are capped at 60 frames a second, as a player plays:
# each is the real ~92 s of sound against the frames, so the audio and
# streaming threads meet the main thread at every point a player's game
# reaches them (spoken passages ending, the bar clock driving the fourth
# world's flashes) and run as long as a player's. Uncapped, a sanitized
# build crams the game into fewer audio blocks and tests the threads less.
# A sanitized build that cannot draw 60 frames a second simply runs slower;
# a small window keeps llvmpipe's share of that down.
sanitized=(-w 640 -h 360)

build() { # folder, cmake arguments...
  local folder=$1
  shift
  echo "soak: building $robot in $folder"
  cmake -S . -B "$folder" "$@" >"$logs/configure-$folder.log"
  cmake --build "$folder" -j "$jobs" --target "$robot" >"$logs/build-$folder.log" ||
    { cat "$logs/build-$folder.log"; exit 1; }
}

build build-asan -DCMAKE_BUILD_TYPE=Debug -DMURMEL_SANITIZER=address -DMURMEL_BENCHMARKS=OFF
build build-tsan -DCMAKE_BUILD_TYPE=Debug -DMURMEL_SANITIZER=thread -DMURMEL_BENCHMARKS=OFF
build build -DCMAKE_BUILD_TYPE=RelWithDebInfo

rows=()
failures=0

# Runs the robot once; its log stays in $logs.
run() { # name, build folder, robot arguments...
  local name=$1 folder=$2
  shift 2
  local log="$logs/$name.log" home start status seconds reports verdict
  home=$(mktemp -d "$logs/home-$name.XXXXXX")
  echo "soak: $name ($folder $*)"
  start=$(date +%s.%N)
  set +e
  # A hang fails like a crash; a TSan run takes a few times a player's time.
  HOME=$home env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u MURMEL_WORLDS_DATA \
    timeout 1800 scripts/with-display.sh "$folder/$robot" "$@" -win >"$log" 2>&1
  status=$?
  set -e
  seconds=$(echo "$(date +%s.%N) - $start" | bc)
  reports=$(grep -cE 'Sanitizer|runtime error' "$log" || true)
  verdict=clean
  if [ "$status" -ne 0 ] || [ "$reports" -ne 0 ]; then
    verdict=FAILED
    failures=$((failures + 1))
    echo "soak: $name FAILED: status $status, $reports sanitizer lines; its output:" >&2
    cat "$log" >&2
  fi
  rows+=("| $name | $folder | $status | $(printf '%.0f' "$seconds") s | $reports | $verdict |")
}

for i in 1 2 3; do run "asan-$i" build-asan "${sanitized[@]}"; done
run tsan build-tsan "${sanitized[@]}"

# The timing run: real time, as a player hears it, with the other core busy.
(while :; do :; done) &
spinner=$!
trap 'kill "$spinner" 2>/dev/null || true' EXIT
run timing build --time-audio --fill-slots 7
kill "$spinner"
trap - EXIT
timing=$(grep -E '^autoplay: (audio callbacks|all [0-9]+ slots)' "$logs/timing.log" || true)

{
  echo "# Soak runs"
  echo
  echo "Written by \`make soak\` ($(date -u +%Y-%m-%d), $(nproc) cores, logs were in $logs)."
  echo
  echo "| run | build | status | wall time | sanitizer lines | verdict |"
  echo "|---|---|---|---|---|---|"
  printf '%s\n' "${rows[@]}"
  echo
  echo "Audio callbacks of the timing run (SDL dummy driver, 4096-frame blocks at 44100 Hz,"
  echo "all 128 slots busy through world 7, the second core kept busy):"
  echo
  echo '```'
  echo "$timing"
  echo '```'
} >"$report"
cat "$report"

if [ "$failures" -ne 0 ]; then
  echo "soak: $failures of ${#rows[@]} runs FAILED; logs in $logs" >&2
  exit 1
fi
echo "soak: every run clean"
