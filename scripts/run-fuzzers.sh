#!/usr/bin/env bash
# Runs each fuzz target of build-fuzz ("make fuzz") for N seconds, one per
# core at a time, at the lowest priority. An input running longer than
# $FUZZ_TIMEOUT seconds (default 60: generous, as a busy machine can starve a
# fuzzer at the lowest priority for seconds) counts as a failure.
#   scripts/run-fuzzers.sh N [Target ...]   (default: every target)
# Inputs found grow a working corpus in build-fuzz/corpus/<Target>; the
# committed seeds in tests/fuzz/corpus/<Target> are only read. An input that
# fails is kept in build-fuzz/artifacts/<Target>/ and the script fails.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/run-fuzzers.sh SECONDS [Target ...]}
shift
build=build-fuzz/tests/fuzz
# Leaks inside system libraries are theirs, as in the test suite.
# An image header may promise gigabytes, which the image library then tries
# to allocate: such an allocation fails (returns null) as on a machine
# without the memory, instead of ending the run.
export ASAN_OPTIONS=${ASAN_OPTIONS:-allocator_may_return_null=1:max_allocation_size_mb=512:quarantine_size_mb=64}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
if [ $# -eq 0 ]; then
  set -- $(cd tests/fuzz && ls -- *Fuzz.cpp | sed 's/Fuzz\.cpp$//')
fi
# One target; its status is the fuzzer's.
fuzz_one() {
  local target=$1 program=$build/fuzz-$1
  mkdir -p "build-fuzz/corpus/$target" "build-fuzz/artifacts/$target"
  # The targets' own output (usage text, a sound file's complaint) is closed
  # off; libFuzzer's and the sanitizers' reports still come through.
  nice -n 19 "$program" -max_total_time="$seconds" -timeout="${FUZZ_TIMEOUT:-60}" -rss_limit_mb=2048 -close_fd_mask=3 \
    -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$target/" \
    "build-fuzz/corpus/$target" "tests/fuzz/corpus/$target" 2>"build-fuzz/fuzz-$target.log"
}
for target in "$@"; do
  [ -x "$build/fuzz-$target" ] || { echo "run-fuzzers.sh: $build/fuzz-$target is not built (make fuzz)" >&2; exit 2; }
done
# $FUZZ_JOBS targets at once (one per core unless set).
jobs=${FUZZ_JOBS:-$(nproc)}
declare -A running=()
failed=()
collect() {
  local pid
  for pid in "${!running[@]}"; do
    kill -0 "$pid" 2>/dev/null && continue
    local target=${running[$pid]}
    unset "running[$pid]"
    if ! wait "$pid"; then
      failed+=("$target")
      tail -n 40 "build-fuzz/fuzz-$target.log" >&2
    fi
    echo "run-fuzzers.sh: $target:" $(grep -E '^stat::number_of_executed_units|^Done ' "build-fuzz/fuzz-$target.log")
  done
}
for target in "$@"; do
  while [ ${#running[@]} -ge "$jobs" ]; do
    sleep 1
    collect
  done
  echo "run-fuzzers.sh: $target for ${seconds}s"
  fuzz_one "$target" &
  running[$!]=$target
done
while [ ${#running[@]} -gt 0 ]; do
  sleep 1
  collect
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "run-fuzzers.sh: failed: ${failed[*]}" >&2
  exit 1
fi
