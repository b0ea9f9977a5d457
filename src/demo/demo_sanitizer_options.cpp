// Sanitizer settings built into the two programs (unused without the
// sanitizers).
//
// The video and X libraries keep memory of their own until the process
// ends; LeakSanitizer is told not to count allocations made inside them.
// Everything the driver allocates stays counted.

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libSDL-1.2.so\n"
         "leak:libX11.so\n";
}
