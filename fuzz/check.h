#pragma once
// Invariant checks of the fuzz targets. A broken invariant ends the process like a crash, so
// libFuzzer keeps the input that broke it and the replay tests fail on it.

#include <cstdio>
#include <cstdlib>

namespace tavo::fuzz {

[[noreturn]] inline void invariantBroken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

[[noreturn]] inline void invariantBroken(const char* what, double value, const char* file,
                                         int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s (value %.9g)\n", file, line, what, value);
    std::abort();
}

} // namespace tavo::fuzz

#define FUZZ_REQUIRE(condition)                                                                    \
    ((condition) ? static_cast<void>(0)                                                            \
                 : ::tavo::fuzz::invariantBroken(#condition, __FILE__, __LINE__))

// The same, naming the value that broke it.
#define FUZZ_REQUIRE_VALUE(condition, value)                                                       \
    ((condition) ? static_cast<void>(0)                                                            \
                 : ::tavo::fuzz::invariantBroken(#condition, static_cast<double>(value), __FILE__, \
                                                 __LINE__))
