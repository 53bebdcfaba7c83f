// Linked into every test executable: the environment that the tests expect, whatever ran them.

#include <cstdlib>

namespace {

struct TestEnvironment {
    TestEnvironment() {
        // Headless unless a test deliberately chose a platform.
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("TAVO_SOURCE_DIR", TAVO_SOURCE_DIR, 0);
    }
};

const TestEnvironment environment;

} // namespace

// Leaks inside the system's GL and EGL drivers and fontconfig are theirs, not ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libEGL_mesa\n"
           "leak:libGLX_mesa\n"
           "leak:libgallium\n"
           "leak:swrast_dri\n"
           "leak:libLLVM\n"
           "leak:libfontconfig\n"
           "leak:libdbus\n";
}
