// Which lines of a run add no pixel to it: each row draws an earlier line, then a later one of
// the same colour and depth, and says whether the later one is left out.

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "pointeditor/view/device/repeated_lines.h"

namespace tavo {
namespace {

using Line = std::array<float, 4>; // x1, y1, x2, y2

// Whether `line` of `colour` at depth `z` adds no pixel to the run so far.
bool repeats(RepeatedLineFilter& filter, Line line, float z = 0, uint32_t colour = 0xFFFFFFFFu) {
    return filter.repeats(line[0], line[1], line[2], line[3], z, colour);
}

// name, the earlier line, the later line, whether the later one is left out
const std::tuple<const char*, Line, Line, bool> Cases[] = {
    {"the same segment", {1, 2, 9, 2}, {1, 2, 9, 2}, true},
    {"the same segment backwards", {1, 2, 9, 2}, {9, 2, 1, 2}, true},
    {"the same slanted segment backwards", {1, 2, 9, 5}, {9, 5, 1, 2}, true},
    {"a slanted segment within another", {0, 0, 8, 4}, {2, 1, 4, 2}, false},
    {"within a row", {1, 2, 9, 2}, {3, 2, 7, 2}, true},
    {"past the end of a row", {1, 2, 9, 2}, {3, 2, 9.5f, 2}, false},
    {"before the start of a row", {1, 2, 9, 2}, {0.5f, 2, 3, 2}, false},
    {"along a row a hair below", {1, 2, 9, 2}, {3, 2.25f, 7, 2.25f}, false},
    {"within a column", {4, 1, 4, 9}, {4, 8, 4, 2}, true},
    {"past the end of a column", {4, 1, 4, 9}, {4, 2, 4, 10}, false},
    {"a column along a row's coordinate", {1, 4, 9, 4}, {4, 5, 4, 7}, false},
    {"a point inside a row", {1, 2, 9, 2}, {5.5f, 2, 5.5f, 2}, true},
    {"a point on a row's end", {1, 2, 9, 2}, {9, 2, 9, 2}, true},
    {"a point past a row's end", {1, 2, 9, 2}, {9.25f, 2, 9.25f, 2}, false},
    {"a point inside a column", {4, 1, 4, 9}, {4, 3, 4, 3}, true},
    {"a point beside a column", {4, 1, 4, 9}, {5, 3, 5, 3}, false},
    {"a point on a slanted line's end", {1, 2, 9, 5}, {9, 5, 9, 5}, false},
    {"the same point", {3, 3, 3, 3}, {3, 3, 3, 3}, true},
    {"a row through an earlier point", {3, 3, 3, 3}, {1, 3, 5, 3}, false},
};

TEST(RepeatedLines, ALaterLineOfTheRunIsLeftOutOnlyWhenItAddsNoPixel) {
    for (const auto& [name, earlier, later, repeated] : Cases) {
        RepeatedLineFilter filter;
        EXPECT_FALSE(repeats(filter, earlier)) << name << ": the first line of a run";
        EXPECT_EQ(repeats(filter, later), repeated) << name;
    }
}

// What ends the run between the two lines of a repeat, so that the second is drawn again:
// name, the second line's colour and depth, what comes between the lines (1: the run is
// forgotten, 2: a translucent line), whether the second is left out.
const std::tuple<const char*, uint32_t, float, int, bool> Breaks[] = {
    {"nothing", 0xFF00FF00u, 0.0f, 0, true},
    {"another colour", 0xFF0000FFu, 0.0f, 0, false},
    {"another depth", 0xFF00FF00u, 0.5f, 0, false},
    {"a reset", 0xFF00FF00u, 0.0f, 1, false},
    {"a translucent colour", 0xFE00FF00u, 0.0f, 0, false},
    {"a translucent line between", 0xFF00FF00u, 0.0f, 2, false},
};

TEST(RepeatedLines, ARunIsOneOpaqueColourAtOneDepth) {
    for (const auto& [name, colour, z, between, repeated] : Breaks) {
        RepeatedLineFilter filter;
        repeats(filter, {1, 2, 9, 2}, 0.0f, 0xFF00FF00u);
        if (between == 1) {
            filter.reset();
        } else if (between == 2) {
            repeats(filter, {1, 5, 9, 5}, 0.0f, 0x8000FF00u);
        }
        EXPECT_EQ(repeats(filter, {2, 2, 8, 2}, z, colour), repeated) << name;
    }
}

TEST(RepeatedLines, ALineWithinAnyOfSeveralEarlierOnesOfItsRowRepeats) {
    RepeatedLineFilter filter;
    repeats(filter, {1, 2, 3, 2});
    repeats(filter, {10, 2, 20, 2});
    EXPECT_TRUE(repeats(filter, {12, 2, 18, 2})) << "within the second";
    EXPECT_FALSE(repeats(filter, {2, 2, 12, 2})) << "across the gap";
    EXPECT_TRUE(repeats(filter, {2, 2, 11, 2})) << "within the line across the gap";
}

} // namespace
} // namespace tavo
