// Which lines of a run add no pixel to it: each row draws an earlier line, then a later one of
// the same colour and depth, and says whether the later one is left out.

#include <gtest/gtest.h>

#include "pointeditor/view/device/repeated_lines.h"

namespace tavo {
namespace {

struct Line {
    float x1, y1, x2, y2;
};

struct Case {
    const char* name;
    Line earlier, later;
    bool repeats;
};

const Case Cases[] = {
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
    for (const Case& c : Cases) {
        RepeatedLineFilter filter;
        const uint32_t white = 0xFFFFFFFFu;
        EXPECT_FALSE(
            filter.repeats(c.earlier.x1, c.earlier.y1, c.earlier.x2, c.earlier.y2, 0.0f, white))
            << c.name << ": the first line of a run";
        EXPECT_EQ(filter.repeats(c.later.x1, c.later.y1, c.later.x2, c.later.y2, 0.0f, white),
                  c.repeats)
            << c.name;
    }
}

// What ends the run between the two lines of a repeat, so that the second is drawn again.
struct Break {
    const char* name;
    uint32_t colour; // of the second line
    float z;         // of the second line
    int between;     // 1: the run is forgotten, 2: a translucent line drawn, between the lines
    bool repeats;
};

const Break Breaks[] = {
    {"nothing", 0xFF00FF00u, 0.0f, 0, true},
    {"another colour", 0xFF0000FFu, 0.0f, 0, false},
    {"another depth", 0xFF00FF00u, 0.5f, 0, false},
    {"a reset", 0xFF00FF00u, 0.0f, 1, false},
    {"a translucent colour", 0xFE00FF00u, 0.0f, 0, false},
    {"a translucent line between", 0xFF00FF00u, 0.0f, 2, false},
};

TEST(RepeatedLines, ARunIsOneOpaqueColourAtOneDepth) {
    for (const Break& b : Breaks) {
        RepeatedLineFilter filter;
        filter.repeats(1, 2, 9, 2, 0.0f, 0xFF00FF00u);
        if (b.between == 1) {
            filter.reset();
        } else if (b.between == 2) {
            filter.repeats(1, 5, 9, 5, 0.0f, 0x8000FF00u);
        }
        EXPECT_EQ(filter.repeats(2, 2, 8, 2, b.z, b.colour), b.repeats) << b.name;
    }
}

TEST(RepeatedLines, ALineWithinAnyOfSeveralEarlierOnesOfItsRowRepeats) {
    RepeatedLineFilter filter;
    const uint32_t white = 0xFFFFFFFFu;
    filter.repeats(1, 2, 3, 2, 0.0f, white);
    filter.repeats(10, 2, 20, 2, 0.0f, white);
    EXPECT_TRUE(filter.repeats(12, 2, 18, 2, 0.0f, white)) << "within the second";
    EXPECT_FALSE(filter.repeats(2, 2, 12, 2, 0.0f, white)) << "across the gap";
    EXPECT_TRUE(filter.repeats(2, 2, 11, 2, 0.0f, white)) << "within the line across the gap";
}

} // namespace
} // namespace tavo
