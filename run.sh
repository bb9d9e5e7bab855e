#!/usr/bin/env bash
# Installs what is missing, builds, and runs Murmel Worlds. Arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
make build
exec ./build/murmel-worlds "$@"
