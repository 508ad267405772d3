// Sanitizer builds only: keeps every shared object loaded until the process ends, so that
// leak reports from the GL driver (loaded and unloaded at run time) still name its library
// and the suppression file can match it.
extern "C" int dlclose(void*) { return 0; }
