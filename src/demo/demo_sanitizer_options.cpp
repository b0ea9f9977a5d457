// Sanitizer settings built into the two programs (unused without the
// sanitizers).
//
// The X library keeps small allocations of its own after SDL has closed the
// display connection; LeakSanitizer is told not to count allocations made
// inside it. Everything the driver and the modules allocate stays counted:
// the objects the driver keeps until the process ends are reachable through
// its state, and the cursors it replaces at start-up are released.

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libX11.so\n";
}
