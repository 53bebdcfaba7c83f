#pragma once
// Invariant checks of the fuzz targets. A broken invariant ends the process like a crash, so
// libFuzzer keeps the input that broke it and the replay tests fail on it.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

namespace tavo::fuzz {

[[noreturn]] inline void invariantBroken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

// How many records a point or block file loads: the 16-bit count before the first record at
// `header` when it is positive, but no more than the complete records present or the table holds.
inline std::size_t recordsLoaded(std::span<const uint8_t> bytes, std::size_t header,
                                 std::size_t recordSize, std::size_t table) {
    if (bytes.size() < header) {
        return 0;
    }
    const auto declared = static_cast<int16_t>(bytes[header - 2] | bytes[header - 1] << 8);
    return std::min({static_cast<std::size_t>(std::max<int>(declared, 0)),
                     (bytes.size() - header) / recordSize, table});
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
