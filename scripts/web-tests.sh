#!/usr/bin/env bash
# Tests the browser build as it stands in build-web/site ("make web" builds
# it; this builds nothing) in a headless Chromium, in Firefox and in WebKitGTK
# (the last two on a private X server and sound server), over a plain local
# file server. Options and case names go to tests/web/web_tests.py (--site,
# --out, --engine NAME ...); each engine's robot frames, title screenshot,
# console messages and what the robot's game handed to Web Audio (heard.json)
# are left in build-web/test-out/<engine>/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Debian's interpreter, the one with python3-websocket and python3-pil; no __pycache__ in the sources.
exec /usr/bin/python3 -B "$root/tests/web/web_tests.py" --site "$root/build-web/site" \
  --out "$root/build-web/test-out" "$@"
