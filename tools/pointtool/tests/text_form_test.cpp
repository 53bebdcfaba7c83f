#include <cstring>
#include <gtest/gtest.h>

#include "tools/pointtool/tests/test_points.h"
#include "tools/pointtool/text_form.h"

namespace tavo::pointtool {
namespace {

using testing::point;

float fromBits(uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

TEST(TextForm, OneLinePerPointWithNamesForTheReader) {
    const std::string text = writePointText(std::vector<PointRecord>{
        point(3, 1, 9, 8, 12.5f, 0, -3, 0.1f), point(3, 2, 8, 8), point(2, 23, 0, 1),
        point(7, 1, 10, 2), point(8, 4, 5, 6), point(14, 3, 4, 5), point(18, 3, 4, 5),
        point(1, 0, 9, 1), point(4, 41, 0, 0), point(9, 0, 0, 0), point(-3, 0, 0, 0)});
    EXPECT_EQ(text, "tavo-points-text 1\n"
                    "# x y z r p1 p2 p3 p4, one point a line in slot order\n"
                    "12.5 0 -3 0.1 3 1 9 8  # PATH, RUN, next 9\n"
                    "0 0 0 0 3 2 8 8  # PATH, WAIT, end of path\n"
                    "0 0 0 0 2 23 0 1  # WEAPON, unknown weapon 23\n"
                    "0 0 0 0 7 1 10 2  # RANDOM WEAPON, MP5 or AK47\n"
                    "0 0 0 0 8 4 5 6  # RANDOM PATH, next 4 or 5\n"
                    "0 0 0 0 14 3 4 5  # EVENT CHANGE TO WALK, target 3, next 4\n"
                    "0 0 0 0 18 3 4 5  # EVENT MESSAGE, next 4\n"
                    "0 0 0 0 1 0 9 1  # HUMAN, path 9\n"
                    "0 0 0 0 4 41 0 0  # HUMAN INFO, KOLVE\n"
                    "0 0 0 0 9 0 0 0  # kind 9 (no name)\n"
                    "0 0 0 0 -3 0 0 0  # unknown kind -3\n");
}

TEST(TextForm, ReadsCommentsBlankLinesTabsCarriageReturnsAndByteOrderMark) {
    const ParsedPointText parsed = parsePointText("\xEF\xBB\xBF# made by hand\r\n"
                                                  "\r\n"
                                                  "  tavo-points-text 1  # header\r\n"
                                                  "1.5\t-2 3e2 0  3 1 9 8 # PATH\r\n"
                                                  "   \t\n"
                                                  "-0 1e-45 0 0 -128 127 0 -1");
    ASSERT_TRUE(parsed.errors.empty()) << parsed.errors[0].message;
    ASSERT_EQ(parsed.records.size(), 2u);
    EXPECT_EQ(parsed.records[0].x, 1.5f);
    EXPECT_EQ(parsed.records[0].z, 300.0f);
    EXPECT_EQ(parsed.records[0].p4, 8);
    EXPECT_TRUE(std::signbit(parsed.records[1].x));
    EXPECT_EQ(parsed.records[1].y, fromBits(1));
    EXPECT_EQ(parsed.records[1].p1, -128);
    EXPECT_EQ(parsed.records[1].p2, 127);
}

TEST(TextForm, EachBadLineIsReportedWithItsNumberAndWhatWasExpected) {
    const std::string header = "tavo-points-text 1\n# comment\n\n";
    struct Case {
        std::string text;
        int line;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"", 1, "the text ends before the header \"tavo-points-text 1\""},
        {"# only a comment\n\n", 2, "the text ends before the header \"tavo-points-text 1\""},
        {"\n1 2 3 4 5 6 7 8\n", 2, "expected the header \"tavo-points-text 1\""},
        {"tavo-points-text 2\n", 1,
         "expected the header \"tavo-points-text 1\"; this pointtool reads only version 1"},
        {header + "1 2 3 4 5 6 7\n", 4, "expected 8 values (x y z r p1 p2 p3 p4), found 7"},
        {header + "1 2 3 4 5 6 7 8 9\n", 4, "expected 8 values (x y z r p1 p2 p3 p4), found 9"},
        {header + "1 two 3 4 5 6 7 8\n", 4, "expected a number for y, found 'two'"},
        {header + "1 2 3 4 5 1.5 7 8\n", 4, "expected an integer for p2, found '1.5'"},
        {header + "1 2 3 4 5 6 7 8x\n", 4, "expected an integer for p4, found '8x'"},
        {header + "1 2 3 4 5 128 7 8\n", 4, "p2 is 128, outside -128..127"},
        {header + "1 2 3 4 -129 6 7 8\n", 4, "p1 is -129, outside -128..127"},
        {header + "1 2 3 4 5 6 99999999999999999999 8\n", 4,
         "p3 is '99999999999999999999', outside -128..127"},
        {header + "inf 2 3 4 5 6 7 8\n", 4, "x is 'inf'; expected a finite number"},
        {header + "1 2 3 nan 5 6 7 8\n", 4, "r is 'nan'; expected a finite number"},
        {header + "1 2 1e39 4 5 6 7 8\n", 4, "z is '1e39', outside the range of a float"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ParsedPointText parsed = parsePointText(c.text);
        ASSERT_EQ(parsed.errors.size(), 1u);
        EXPECT_EQ(parsed.errors[0].line, c.line);
        EXPECT_EQ(parsed.errors[0].message, c.message);
    }
}

TEST(TextForm, ReportsEveryBadLineAndThePointBeyondTwoHundredOnce) {
    std::string text = "tavo-points-text 1\n1 2 3\n";
    for (int i = 0; i < 202; ++i) {
        text += "0 0 0 0 2 1 0 1\n";
    }
    text += "0 0 0 0 2 1 0 300\n";
    const ParsedPointText parsed = parsePointText(text);
    ASSERT_EQ(parsed.errors.size(), 3u);
    EXPECT_EQ(parsed.errors[0].line, 2);
    EXPECT_EQ(parsed.errors[1].line, 203);
    EXPECT_EQ(parsed.errors[1].message, "point 201; a point file holds at most 200");
    EXPECT_EQ(parsed.errors[2].line, 205);
}

} // namespace
} // namespace tavo::pointtool
