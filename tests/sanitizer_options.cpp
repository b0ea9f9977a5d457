// Sanitizer settings built into every test program (unused without the
// sanitizers).
//
// Canvases have no release operation: they live until the process ends, so
// LeakSanitizer is told not to count them. The X library keeps small
// allocations of its own after the display connection is closed (tests on
// a private X server); allocations made inside it are not counted either.
// Tests of refused sizes ask for impossible amounts of memory, which the
// sanitizer's allocator must answer with null like the plain one.

extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1";
}

extern "C" const char* __lsan_default_suppressions() {
  return "leak:SCRNew\n"
         "leak:libX11.so\n";
}
