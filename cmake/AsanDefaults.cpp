// Compiled into every program of an AddressSanitizer build; ASAN_OPTIONS
// still overrides it flag by flag.
//
// intercept_tls_get_addr=0: ASan's own record of dynamic TLS blocks guesses
// at glibc's layout and, for the TLS of the GL driver Mesa loads with dlopen,
// records a range starting near address zero ("DTLS 13 at 0x...f0b-..." with
// LSAN_OPTIONS=verbosity=1). The leak check at exit then crashes scanning it
// ("Tracer caught signal 11") in a program that has drawn: now and then, and
// every time with Mesa's shader cache off. Glibc takes those blocks from
// malloc, which ASan sees, and the thread's own TLS points to them, so the
// leak check still reaches what they hold without the record.
extern "C" const char *__asan_default_options() { return "intercept_tls_get_addr=0"; }
