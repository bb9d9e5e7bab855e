#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the desktop suite,
# then the browser build in a headless Chromium.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh --web
make test
make web-test
