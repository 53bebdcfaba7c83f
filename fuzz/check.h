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

// A value that must lie within low .. high.
inline void requireWithin(const char* what, double value, double low, double high) {
    if (!(value >= low && value <= high)) {
        std::fprintf(stderr, "invariant broken: %s is %.9g, not within %.9g .. %.9g\n", what, value,
                     low, high);
        std::abort();
    }
}

} // namespace tavo::fuzz

#define FUZZ_REQUIRE(condition)                                                                    \
    ((condition) ? static_cast<void>(0)                                                            \
                 : ::tavo::fuzz::invariantBroken(#condition, __FILE__, __LINE__))
