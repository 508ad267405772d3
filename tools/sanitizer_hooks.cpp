// Linked into sanitizer builds only, tests and executable alike.
//
// Mesa unloads its driver before LeakSanitizer reports, and the report then names no library
// that a suppression could match: keep every shared object loaded until the process ends.
extern "C" int dlclose(void*) { return 0; }

// Allocations that code outside the project keeps for the life of the process: the GL driver
// and its dispatch make the context, its buffers and compiled state at start-up and never free
// them before exit. Leaks in the project's own code are always reported.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:swrast_dri.so\n"
           "leak:libGLX_mesa.so\n"
           "leak:libglapi.so\n"
           "leak:libLLVM-15.so\n"
           "leak:libgallium\n";
}
