#!/usr/bin/env bash
# Runs a command with an X display: the current one when it answers,
# otherwise a private Xvfb server with a 1920 x 1080 screen.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
unset DISPLAY
exec xvfb-run -a -s "-screen 0 1920x1080x24" "$@"
