// Which lines the device may leave out: only exact repeats inside a run of opaque lines of one
// colour and depth, so that the picture cannot change.

#include <gtest/gtest.h>

#include "pointeditor/view/line_coverage.h"
#include "pointeditor/view/repeated_lines.h"

namespace tavo {
namespace {

constexpr uint32_t White = 0xFFFFFFFF;

TEST(RepeatedLines, ASegmentDrawnAgainEitherWayRoundRepeats) {
    RepeatedLineFilter filter;
    EXPECT_FALSE(filter.repeats(10, 20, 30, 25, 0, White));
    EXPECT_TRUE(filter.repeats(10, 20, 30, 25, 0, White));
    EXPECT_TRUE(filter.repeats(30, 25, 10, 20, 0, White));
    EXPECT_FALSE(filter.repeats(10, 20, 30, 26, 0, White));
}

TEST(RepeatedLines, APointRepeatsOnlyOnTheEndOfAnAxisParallelLineOrAnEarlierPoint) {
    RepeatedLineFilter filter;
    EXPECT_FALSE(filter.repeats(10, 20, 30, 20, 0, White)); // horizontal
    EXPECT_TRUE(filter.repeats(10, 20, 10, 20, 0, White));
    EXPECT_TRUE(filter.repeats(30, 20, 30, 20, 0, White));
    EXPECT_FALSE(filter.repeats(20, 20, 20, 20, 0, White)); // mid-line: not tracked
    EXPECT_TRUE(filter.repeats(20, 20, 20, 20, 0, White));  // but now it was drawn
    // A sloped line's end pixel depends on the slope: its ends are not taken as lit.
    EXPECT_FALSE(filter.repeats(50.5f, 50, 70, 57.3f, 0, White));
    EXPECT_FALSE(filter.repeats(50.5f, 50, 50.5f, 50, 0, White));
}

TEST(RepeatedLines, AnotherColourDepthOrATranslucentLineEndsTheRun) {
    RepeatedLineFilter filter;
    EXPECT_FALSE(filter.repeats(0, 0, 5, 0, 0, White));
    EXPECT_FALSE(filter.repeats(0, 0, 5, 0, 0, 0xFFFF0000)); // red over white: must draw
    EXPECT_FALSE(filter.repeats(0, 0, 5, 0, 0, White));      // and white again over red
    EXPECT_FALSE(filter.repeats(0, 0, 5, 0, 0.5f, White));
    EXPECT_FALSE(filter.repeats(0, 0, 5, 0, 0.5f, 0x80FFFFFF));
    EXPECT_FALSE(filter.repeats(0, 0, 5, 0, 0.5f, 0x80FFFFFF)); // blends twice: never left out
    EXPECT_FALSE(filter.repeats(0, 0, 5, 0, 0.5f, White));
    filter.reset();
    EXPECT_FALSE(filter.repeats(0, 0, 5, 0, 0.5f, White));
}

TEST(LineCoverage, QuadsSpanFromHalfAPixelBeforeTheStartToHalfAPixelAfterTheEnd) {
    PixelQuad h = lineCoverage(30, 20, 10, 20, true);
    EXPECT_EQ(h.x[0], 9.5f);
    EXPECT_EQ(h.x[1], 30.5f);
    EXPECT_EQ(h.y[0], 19.5f);
    EXPECT_EQ(h.y[3], 20.5f);
    // Without the last pixel the end (here the left one) is left out.
    PixelQuad open = lineCoverage(30, 20, 10, 20, false);
    EXPECT_EQ(open.x[0], 10.5f);
    EXPECT_EQ(open.x[1], 30.5f);
    // y-major: one pixel per row.
    PixelQuad v = lineCoverage(5, 0, 7, 10, true);
    EXPECT_EQ(v.y[0], -0.5f);
    EXPECT_EQ(v.y[1], 10.5f);
    EXPECT_FLOAT_EQ(v.x[0], 5 - 0.1f - 0.5f);
    EXPECT_FLOAT_EQ(v.x[2], 7 + 0.1f + 0.5f);
}

} // namespace
} // namespace tavo
