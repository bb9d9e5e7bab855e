#!/usr/bin/env bash
# Tests the browser build as it stands in build-web/site ("make web" builds
# it; this builds nothing) in a headless Chromium, over a plain local file
# server. Options and case names go to tests/web/web_tests.py; the robot's
# frames, the title's screenshot, every console message and what the robot's
# game handed to Web Audio (heard.json) are left in build-web/test-out/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
site="$root/build-web/site"
if [ ! -f "$site/index.html" ]; then
  echo "web-tests.sh: no site in $site: run \"make web\" first" >&2
  exit 2
fi
# Debian's interpreter, the one with python3-websocket; no __pycache__ in the sources.
exec /usr/bin/python3 -B "$root/tests/web/web_tests.py" --site "$site" --out "$root/build-web/test-out" "$@"
