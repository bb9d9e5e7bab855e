#!/usr/bin/env bash
# The side-by-side comparison ("make compare"): installs what it needs, builds
# its programs and the benchmarks in build/, runs everything under a display
# and writes docs/performance.md with its chart.
#   scripts/compare.sh [--rounds N]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --compare
# Configure again so that a build folder made before SDL_mixer was installed finds it.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "${JOBS:-2}" --target compare-tools
cmake --build build -j "${JOBS:-2}" --target GamePlayBench SoundMixBench ||
  echo "compare.sh: the benchmarks did not build; their figures will read \"not measured\"" >&2
mkdir -p docs
exec scripts/with-display.sh python3 tools/compare/compare.py build docs "$@"
