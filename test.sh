#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the desktop suite,
# then the browser build in Chromium, Firefox and WebKitGTK, and the portal's
# zip of the site.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh --web
make test
make web-test
make web-zip
