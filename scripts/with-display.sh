#!/usr/bin/env bash
# Runs a command with an X display: the current one when it answers,
# otherwise a private Xvfb server with a 1920 x 1080 screen. With --own, always
# a private server, for the command alone.
set -euo pipefail
own=false
if [ "${1:-}" = --own ]; then
  own=true
  shift
fi
if ! $own && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
if ! $own; then
  unset DISPLAY
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$@"
fi
# The server picks a free display number itself and writes it once it is
# ready, so that many of these may start at once.
number=$(mktemp)
Xvfb -displayfd 3 -nolisten tcp -screen 0 1920x1080x24 3>"$number" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$number"' EXIT
for _ in $(seq 200); do
  [ -s "$number" ] && break
  kill -0 "$server" 2>/dev/null || { echo "with-display.sh: Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
[ -s "$number" ] || { echo "with-display.sh: Xvfb gave no display in 10 s" >&2; exit 1; }
DISPLAY=:$(head -n 1 "$number") "$@"
