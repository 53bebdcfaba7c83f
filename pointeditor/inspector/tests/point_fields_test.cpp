#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "pointeditor/inspector/point_fields.h"
#include "pointeditor/view/point_markers.h"
#include "tests/support/scene_builders.h"

namespace tavo {
namespace {

using testing::point;

std::string str(const QString& text) {
    return text.toStdString();
}

TEST(CellText, ParametersShowTheNamesTheTextColumnGivesThemForTheKindInBothLanguages) {
    const struct {
        const char* name;
        PointRecord point;
        Column column;
        const char* english;
        const char* japanese;
    } cases[] = {
        {"kind", point(0, 0, 0, 4), Column::Kind, "HUMAN INFO", "人情報"},
        {"weapon", point(0, 0, 0, 2, 5), Column::Second, "DESERT EAGLE", "DESERT EAGLE"},
        {"path action", point(0, 0, 0, 3, 1, 9), Column::Second, "RUN", "走り"},
        {"human type", point(0, 0, 0, 4, 41), Column::Second, "KOLVE", "コルブ"},
        {"small object", point(0, 0, 0, 5, 7), Column::Second, "CHAIR", "椅子"},
        {"random weapon's second", point(0, 0, 0, 7, 1, 13), Column::Third, "GRENADE", "GRENADE"},
        {"weapon past its table", point(0, 0, 0, 2, 23), Column::Second, "23", "23"},
        {"weapon below its table", point(0, 0, 0, 2, -1), Column::Second, "-1", "-1"},
        {"kind 9 has an empty name", point(0, 0, 0, 9), Column::Kind, "9", "9"},
        {"kind past the table", point(0, 0, 0, 20), Column::Kind, "20", "20"},
        {"kind 0", point(0, 0, 0, 0), Column::Kind, "0", "0"},
        {"a path's next id", point(0, 0, 0, 3, 1, 9), Column::Third, "9", "9"},
        {"a waiting event's point", point(0, 0, 0, 12, 3, 4), Column::Second, "3", "3"},
        {"a weapon's third", point(0, 0, 0, 2, 5, 6), Column::Third, "6", "6"},
        {"id", point(0, 0, 0, 1, 0, 0, -100), Column::Id, "-100", "-100"},
        {"x", point(12.5f, 0, 0, 1), Column::X, "12.5", "12.5"},
        {"y", point(0, -3, 0, 1), Column::Y, "-3", "-3"},
        {"z", point(0, 0, 0.1f, 1), Column::Z, "0.1", "0.1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(str(cellText(c.point, c.column, true)), c.english) << c.name << ", English";
        EXPECT_EQ(str(cellText(c.point, c.column, false)), c.japanese) << c.name << ", Japanese";
    }
}

TEST(CellText, TheHeadingShowsInDegreesToATenth) {
    const struct {
        const char* name;
        float radians;
        const char* shown;
    } cases[] = {
        {"a quarter turn", static_cast<float>(std::numbers::pi / 2), "90.0"},
        {"one arrow key step", 0.3926990f, "22.5"},
        {"just below zero", -0.0001f, "0.0"},
        {"left, unwrapped", static_cast<float>(-3 * std::numbers::pi), "-540.0"},
        {"rounds to the nearest tenth", 0.0017f, "0.1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(str(cellText(point(0, 0, 0, 1, 0, 0, 1, c.radians), Column::Heading, true)),
                  c.shown)
            << c.name;
    }
}

TEST(ReadCellValue, AcceptsWhatTheFieldHoldsAndRefusesTheRestWithTheReason) {
    const struct {
        const char* name;
        Column column;
        int kind;
        QVariant offered;
        double accepted; // NAN: refused
        const char* reason;
    } cases[] = {
        {"a kind typed as a number", Column::Kind, 1, QVariant("19"), 19, ""},
        {"a kind typed as its name", Column::Kind, 1, QVariant("random path"), 8, ""},
        {"a kind typed in Japanese", Column::Kind, 1, QVariant("武器"), 2, ""},
        {"a weapon by name", Column::Second, 2, QVariant("MP5"), 1, ""},
        {"a kind without a name stays a number", Column::Kind, 1, QVariant(-7), -7, ""},
        {"a fraction is no id", Column::Id, 1, QVariant(2.5), NAN, "not a whole number"},
        {"nothing", Column::Kind, 1, QVariant(), NAN, "not a number or a name of the list"},
        {"lowest id", Column::Id, 1, QVariant(-128), -128, ""},
        {"highest id", Column::Id, 1, QVariant("127"), 127, ""},
        {"id one over", Column::Id, 1, QVariant(128), NAN,
         "out of range: the field holds -128 to 127"},
        {"id one under", Column::Id, 1, QVariant("-129"), NAN,
         "out of range: the field holds -128 to 127"},
        {"an id that is no number", Column::Id, 1, QVariant("seven"), NAN, "not a whole number"},
        {"a name from another table", Column::Second, 3, QVariant("MP5"), NAN,
         "not a number or a name of the list"},
        {"x", Column::X, 1, QVariant(" 12.5 "), 12.5, ""},
        {"z, exponent", Column::Z, 1, QVariant("-1e3"), -1000, ""},
        {"x not a number", Column::X, 1, QVariant("abc"), NAN, "not a number"},
        {"y nan", Column::Y, 1, QVariant("nan"), NAN, "not a number"},
        {"x past a float", Column::X, 1, QVariant("1e39"), NAN,
         "out of range: the position must be a finite number"},
        {"heading in degrees", Column::Heading, 1, QVariant("-45"), -45, ""},
        {"heading past a float", Column::Heading, 1, QVariant("1e41"), NAN,
         "out of range: the heading must be a finite number of degrees"},
        {"the slot", Column::Slot, 1, QVariant(3), NAN, "this column cannot be edited"},
        {"the swatch", Column::Colour, 1, QVariant(3), NAN, "this column cannot be edited"},
    };
    for (const auto& c : cases) {
        const Result<double, QString> read = readCellValue(c.column, c.kind, c.offered, true);
        if (std::isnan(c.accepted)) {
            ASSERT_FALSE(read.ok()) << c.name;
            EXPECT_EQ(str(read.error()), c.reason) << c.name;
        } else {
            ASSERT_TRUE(read.ok()) << c.name << ": " << str(read.error());
            EXPECT_EQ(*read, c.accepted) << c.name;
        }
    }
}

TEST(ReadCellValue, TellsTheReasonInJapanese) {
    const struct {
        Column column;
        const char* offered;
        const char* reason;
    } cases[] = {
        {Column::X, "abc", "数値ではありません"},
        {Column::Id, "x", "整数ではありません"},
        {Column::Kind, "x", "数値でも一覧の名前でもありません"},
        {Column::Id, "200", "範囲外です: -128 から 127 まで"},
        {Column::Y, "1e39", "範囲外です: 位置は有限の数値で入力してください"},
        {Column::Heading, "1e41", "範囲外です: 向きは有限の度数で入力してください"},
        {Column::Slot, "1", "この列は編集できません"},
    };
    for (const auto& c : cases) {
        const Result<double, QString> read = readCellValue(c.column, 1, QVariant(c.offered), false);
        ASSERT_FALSE(read.ok()) << c.reason;
        EXPECT_EQ(str(read.error()), c.reason);
    }
}

TEST(ApplyCellValue, TheHeadingIsStoredInRadiansAndAHeadingShownAsTheValueKeepsItsBits) {
    PointTable table;
    table.points[0] = point(0, 0, 0, 1, 0, 0, 1, 0.0f);
    table.points[1] = point(0, 0, 0, 1, 0, 0, 2, 1.57080f); // shown as 90.0, not exactly pi/2
    applyCellValue(table, {0, 1}, Column::Heading, 90.0);
    EXPECT_EQ(table.points[0].r, static_cast<float>(std::numbers::pi / 2)) << "0 turned to 90";
    EXPECT_EQ(table.points[1].r, 1.57080f) << "already shown as 90.0";
}

TEST(ApplyCellValue, EachColumnWritesItsOwnField) {
    const struct {
        Column column;
        double value;
        PointRecord expected;
    } cases[] = {
        {Column::Kind, 7, point(1, 2, 3, 7, 5, 6, 8, 0.5f)},
        {Column::Second, -3, point(1, 2, 3, 4, -3, 6, 8, 0.5f)},
        {Column::Third, 100, point(1, 2, 3, 4, 5, 100, 8, 0.5f)},
        {Column::Id, -120, point(1, 2, 3, 4, 5, 6, -120, 0.5f)},
        {Column::X, -9.5, point(-9.5f, 2, 3, 4, 5, 6, 8, 0.5f)},
        {Column::Y, 0.25, point(1, 0.25f, 3, 4, 5, 6, 8, 0.5f)},
        {Column::Z, 1e30, point(1, 2, 1e30f, 4, 5, 6, 8, 0.5f)},
    };
    for (const auto& c : cases) {
        PointTable table;
        table.points[4] = point(1, 2, 3, 4, 5, 6, 8, 0.5f);
        applyCellValue(table, {4}, c.column, c.value);
        const PointRecord& p = table.points[4];
        const PointRecord& e = c.expected;
        EXPECT_EQ(std::tuple(p.x, p.y, p.z, p.r, p.p1, p.p2, p.p3, p.p4),
                  std::tuple(e.x, e.y, e.z, e.r, e.p1, e.p2, e.p3, e.p4))
            << "column " << static_cast<int>(c.column);
    }
}

TEST(FreeIds, AscendFromOneAndLeaveOutTheIdsOfPointsNotRenumbered) {
    PointTable table;
    const int ids[] = {1, 1, 3, 2, 9};
    for (int slot = 0; slot < 5; ++slot) {
        table.points[slot] = point(0, 0, 0, 1, 0, 0, ids[slot]);
        table.pointUsed[slot] = SlotUsed;
    }
    table.points[7] = point(0, 0, 0, 1, 0, 0, 4); // a free slot's leftover: not held
    const struct {
        const char* name;
        std::vector<int> targets;
        std::vector<int8_t> expected;
    } cases[] = {
        {"one of two sharing 1", {1}, {4}},
        {"its own id is free again", {2}, {3}},
        {"two at once", {0, 1}, {1, 4}},
        {"nothing to renumber", {}, {}},
    };
    for (const auto& c : cases) {
        const auto given = freeIds(table, c.targets);
        ASSERT_TRUE(given.has_value()) << c.name;
        EXPECT_EQ(*given, c.expected) << c.name;
    }
}

TEST(FreeIds, NoneWhenEveryIdFromOneIsTaken) {
    PointTable table;
    for (int slot = 0; slot < 128; ++slot) {
        table.points[slot] = point(0, 0, 0, 1, 0, 0, slot); // 0..127
        table.pointUsed[slot] = SlotUsed;
    }
    EXPECT_FALSE(freeIds(table, {200 - 1}).has_value()) << "ids 1..127 all held";
    EXPECT_EQ(freeIds(table, {5}).value_or(std::vector<int8_t>{}), std::vector<int8_t>{5})
        << "the renumbered point's own id";
}

TEST(Filter, MatchesKindNamesInEitherLanguageAndWholeNumbersAsIds) {
    const struct {
        const char* name;
        PointRecord point;
        const char* filter;
        bool matches;
    } cases[] = {
        {"empty", point(0, 0, 0, 1), "", true},
        {"blank", point(0, 0, 0, 1), "  ", true},
        {"an id", point(0, 0, 0, 1, 0, 0, 7), "7", true},
        {"another id", point(0, 0, 0, 1, 0, 0, 70), "7", false},
        {"a negative id", point(0, 0, 0, 1, 0, 0, -100), "-100", true},
        {"a number is no kind", point(0, 0, 0, 7, 0, 0, 1), "7", false},
        {"part of a name, case ignored", point(0, 0, 0, 8), "path", true},
        {"the same part", point(0, 0, 0, 3), "path", true},
        {"another kind", point(0, 0, 0, 2), "path", false},
        {"Japanese", point(0, 0, 0, 3), "パス", true},
        {"a kind without a name", point(0, 0, 0, 25), "kind", false},
        {"a weapon's name is no kind", point(0, 0, 0, 2, 1), "MP5", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(matchesFilter(c.point, QString::fromUtf8(c.filter)), c.matches) << c.name;
    }
}

TEST(Filter, KindGroups) {
    const struct {
        KindGroup group;
        const char* label;
        std::vector<int> kinds;
    } cases[] = {
        {KindGroup::Humans, "humans", {1, 4, 6}},
        {KindGroup::Weapons, "weapons", {2, 7}},
        {KindGroup::Paths, "paths", {3, 8}},
        {KindGroup::Objects, "small objects", {5}},
        {KindGroup::Events, "events", {10, 11, 12, 13, 14, 15, 16, 17, 18, 19}},
        {KindGroup::Other, "other kinds", {-1, 0, 9, 20}},
    };
    for (const auto& c : cases) {
        std::vector<int> in;
        for (int kind = -1; kind <= 20; ++kind) {
            if (inKindGroup(kind, c.group)) {
                in.push_back(kind);
            }
        }
        EXPECT_EQ(in, c.kinds) << c.label;
        EXPECT_EQ(str(kindGroupLabel(c.group, true)), c.label) << "the drop-down's entry";
        EXPECT_TRUE(inKindGroup(c.kinds.front(), KindGroup::All)) << "every kind";
    }
    EXPECT_EQ(str(kindGroupLabel(KindGroup::All, true)), "every kind") << "the first entry";
}

// The kinds of each entry are in the inspector's legend.
TEST(Colours, ThePaletteEntryOfAKind) {
    EXPECT_EQ(markerColour(-7), kindPalette[2]) << "|kind| mod 5";
    EXPECT_EQ(markerColour(5), kindPalette[0]) << "5 mod 5";
}

TEST(FindingText, SeverityThePointByIdAndKindAndTheSlotsItNamesAsPoints) {
    PointTable table;
    table.points[5] = point(0, 0, 0, 2, 0, 0, 3);
    Finding onPoint{
        2,  7, 3, Severity::Error, "is id 7 (slot 2) and reaches slot 5", "スロット 5 に届きます",
        {5}};
    Finding onFile{-1, 0, 0, Severity::Warning, "cut short", "途中で切れています", {}};
    const struct {
        const Finding* finding;
        bool english;
        const char* text;
    } cases[] = {
        {&onPoint, true, "error: id 7, PATH: is id 7 and reaches point WEAPON (id 3)"},
        {&onPoint, false, "エラー: 識別番号 7, パス: ポイント 武器 (識別番号 3) に届きます"},
        {&onFile, true, "warning: file: cut short"},
        {&onFile, false, "警告: ファイル: 途中で切れています"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(str(findingText(*c.finding, table, c.english)), c.text) << c.text;
    }
}

TEST(FindingSlots, ItsOwnSlotFirstThenTheOthers) {
    Finding finding;
    finding.slot = 0;
    finding.relatedSlots = {3, 7};
    EXPECT_EQ(findingSlots(finding), (std::vector<int>{0, 3, 7})) << "about slot 0";
    finding.slot = -1;
    EXPECT_EQ(findingSlots(finding), (std::vector<int>{3, 7})) << "about the file";
}

TEST(SortValue, NumbersBehindTheCells) {
    const PointRecord p = point(1.5f, NAN, 3, -4, 5, 6, 7, 0.25f);
    EXPECT_EQ(sortValue(p, 12, Column::Slot), 12) << "slot";
    EXPECT_EQ(sortValue(p, 12, Column::Colour), 4) << "palette entry of -4";
    EXPECT_EQ(sortValue(p, 12, Column::Kind), -4) << "kind";
    EXPECT_EQ(sortValue(p, 12, Column::Third), 6) << "p3";
    EXPECT_EQ(sortValue(p, 12, Column::Y), -INFINITY) << "a y that is no number sorts first";
    EXPECT_EQ(sortValue(p, 12, Column::Heading), 0.25) << "heading";
}

} // namespace
} // namespace tavo
