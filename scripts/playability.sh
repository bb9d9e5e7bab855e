#!/usr/bin/env bash
# The playability matrix ("make playability"): every player the robot can be,
# the perfect one and each human persona, plays the whole game uncapped in a
# window of every screen shape, with the flash meter on, two runs at a time.
# Frames count as 60 a second whatever the machine draws. Logs, screenshots
# and contact sheets go to build/playability/; the report, with the contact
# sheet of each shape, to docs/playability.md and docs/playability/.
# A run that does not finish fails the whole (after the report is written).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${JOBS:-2}
export SDL_AUDIODRIVER=dummy
robot=build/murmel-worlds-autoplay
out=build/playability
personas=${PERSONAS:-"perfect brisk calm slow trackpad shaky"}
shapes=${SHAPES:-"1280x720 1024x768 1280x540 960x270 540x960 320x180"}

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs" --target murmel-worlds-autoplay >/dev/null
rm -rf "$out"
mkdir -p "$out"

# One run: persona, shape; its log is $out/PERSONA-SHAPE.log.
run_one() {
  local persona=$1 shape=$2 name="$1-$2" home status
  home=$(mktemp -d "$out/home-$name.XXXXXX")
  HOME=$home env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u MURMEL_WORLDS_DATA \
    timeout 1800 scripts/with-display.sh "$robot" --persona "$persona" --uncapped --flash-report \
    --max-frames 200000 --screenshots "$out/$name" -win -w "${shape%x*}" -h "${shape#*x}" \
    >"$out/$name.log" 2>&1
  status=$?
  rm -rf "$home"
  echo "exit status $status" >>"$out/$name.log"
  echo "playability: $persona at $shape: $(tail -n 2 "$out/$name.log" | head -n 1)"
}
export -f run_one
export robot out

for shape in $shapes; do
  for persona in $personas; do echo "$persona $shape"; done
done | xargs -P "$jobs" -L 1 bash -c 'set +e; run_one "$0" "$1"'

python3 tools/playability/report.py "$out" docs --personas "$personas" --shapes "$shapes"
