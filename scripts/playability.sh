#!/usr/bin/env bash
# The playability matrix ("make playability"): every player the robot can be,
# the perfect one and each human persona, plays the whole game uncapped in a
# window of each screen shape, once for each game seed, with the flash meter
# on, two runs at a time; first-time players (personas that have never played)
# play at a few shapes with the same seeds. Frames count as 60 a second
# whatever the machine draws. Logs, screenshots and contact sheets go to
# build/playability/; the report, with the contact sheet of each shape, to
# docs/playability.md and docs/playability/.
# A run that does not finish fails the whole (after the report is written);
# a first-time player giving up on a world is a finding, not a failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${JOBS:-2}
export SDL_AUDIODRIVER=dummy
# BUILD names another configured build directory to play from.
build=${BUILD:-build}
robot=$build/murmel-worlds-autoplay
out=build/playability
personas=${PERSONAS:-"perfect brisk calm slow trackpad shaky"}
# Two shapes by default keep the matrix to about an hour here; each of the
# others (1024x768 1280x540 960x270 540x960) adds about twenty minutes.
shapes=${SHAPES:-"1280x720 320x180"}
seeds=${SEEDS:-"1 2 3"}
# FIRST_TIME= (empty) leaves the first-time players out.
first_time=${FIRST_TIME-"calm"}
first_time_shapes=${FIRST_TIME_SHAPES:-"1280x720 540x960 320x180"}
# Screenshots and contact sheets from the first seed only: the others would
# show the same worlds at the cost of time and disk.
read -r first_seed _ <<<"$seeds"

if [ ! -f "$build/CMakeCache.txt" ]; then cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null; fi
cmake --build "$build" -j "$jobs" --target murmel-worlds-autoplay >/dev/null
rm -rf "$out"
mkdir -p "$out"

# One run: persona, shape, seed and "first" for a first-time player ("plain"
# otherwise); its log is $out/PERSONA-SHAPE-seedN.log, or
# $out/PERSONA-first-time-SHAPE-seedN.log.
run_one() {
  local persona=$1 shape=$2 seed=$3 kind=$4 name=$1 limit=1800 frames=200000 home status
  local extra=()
  if [ "$kind" = first ]; then
    # It may spend three minutes on each world before it gives up.
    name=$persona-first-time limit=3600 frames=400000
    extra+=(--first-time)
  fi
  name=$name-$shape-seed$seed
  if [ "$seed" = "$first_seed" ]; then extra+=(--screenshots "$out/$name"); fi
  home=$(mktemp -d "$out/home-$name.XXXXXX")
  HOME=$home env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u MURMEL_WORLDS_DATA \
    timeout "$limit" scripts/with-display.sh "$robot" --persona "$persona" --seed "$seed" "${extra[@]}" \
    --uncapped --flash-report --max-frames "$frames" -win -w "${shape%x*}" -h "${shape#*x}" \
    >"$out/$name.log" 2>&1
  status=$?
  rm -rf "$home"
  echo "exit status $status" >>"$out/$name.log"
  echo "playability: $name: $(tail -n 2 "$out/$name.log" | head -n 1)"
}
export -f run_one
export robot out first_seed

start=$SECONDS
# The first-time runs are the longest: started first, they do not leave one
# core alone with them at the end.
{
  for shape in $first_time_shapes; do
    for persona in $first_time; do
      for seed in $seeds; do echo "$persona $shape $seed first"; done
    done
  done
  for shape in $shapes; do
    for persona in $personas; do
      for seed in $seeds; do echo "$persona $shape $seed plain"; done
    done
  done
} | xargs -P "$jobs" -L 1 bash -c 'set +e; run_one "$0" "$1" "$2" "$3"'
elapsed=$((SECONDS - start))
minutes=$(((elapsed + 30) / 60))

status=0
python3 tools/playability/report.py "$out" docs --personas "$personas" --shapes "$shapes" --seeds "$seeds" \
  --first-time "$first_time" --first-time-shapes "$first_time_shapes" --minutes "$minutes" --jobs "$jobs" \
  --robot "$robot" ||
  status=$?
echo "playability: the matrix took $minutes minutes ($elapsed s)"
exit "$status"
