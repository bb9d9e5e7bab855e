# Sourced: the sanitizer settings of every run of our programs under a
# sanitizer (the suite's and the soak runs'); values already set are kept.
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$root/scripts/tsan.supp}
