#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the desktop suite,
# then the browser build in Chromium, Firefox and WebKitGTK, and the portal's
# zip of the site. The browser build compiles in the idle class while the
# desktop suite runs.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh --web
source scripts/idle-builds.sh
idle_build_start web make web
make test
idle_build_finish web
make web-test
make web-zip
