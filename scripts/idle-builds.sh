# Sourced by test.sh and .ci/run: builds that run in the idle scheduling
# class while tests run. Much of the tests' time goes to waiting on real time
# (the sound, the browsers' pace); an idle-class build takes only the
# processor time they leave and gives way the moment they want it (a build at
# nice 19 still takes its slices, enough for a sound server to drop out).
# Each build's output goes to build-logs/NAME.log.

declare -A idle_builds=()

# idle_build_start NAME COMMAND...: the command in a process group of its own
# (job control's), in this session: a new session would be a scheduling
# group of its own as well (the kernel's autogroups), with a fair share of
# the processor however idle its class.
idle_build_start() {
  local name=$1
  shift
  mkdir -p build-logs
  set -m
  chrt --idle 0 "$@" >"build-logs/$name.log" 2>&1 &
  idle_builds[$name]=$!
  set +m
}

# idle_build_finish NAME: the build is waited for in the normal class (its
# processes and those they start from now on), as nothing else needs the
# processor any more; fails, with the log's end, when the build did.
idle_build_finish() {
  local name=$1 group=${idle_builds[$1]}
  local stat line fields
  # Every process of the group, found through /proc (a minimal Debian has no pgrep).
  for stat in /proc/[0-9]*/stat; do
    line=$(cat "$stat" 2>/dev/null) || continue
    read -r -a fields <<<"${line##*) }"
    [ "${fields[2]:-}" = "$group" ] && { chrt --other -p 0 "${line%% *}" >/dev/null 2>&1 || true; }
  done
  if ! wait "$group"; then
    tail -n 60 "build-logs/$name.log" >&2
    echo "$0: the $name build failed (build-logs/$name.log)" >&2
    return 1
  fi
}

# Builds still running when the script ends go with it.
idle_builds_stop() {
  local group
  for group in "${idle_builds[@]}"; do kill -- "-$group" 2>/dev/null || true; done
}
trap idle_builds_stop EXIT
