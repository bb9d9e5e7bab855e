# Sourced: the sanitizer settings of every run of our programs under a
# sanitizer (the suite's and the soak runs'); values already set are kept.
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
# intercept_tls_get_addr=0: the runtime's own record of dynamic TLS blocks
# guesses at glibc's layout and, for the TLS of the GL driver Mesa loads with
# dlopen, records a range starting near address zero. LeakSanitizer's
# end-of-process check then crashes scanning it ("Tracer caught signal 11",
# "DTLS 13 at 0x000000000f0b-..."), after every drawing test. Glibc takes
# those blocks from malloc, which ASan sees, and the thread's own TLS points
# to them, so the check still finds what they hold without the record.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$root/scripts/tsan.supp}
