#include <cstring>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_kinds.h"
#include "pointeditor/data/point_text_form.h"
#include "pointeditor/edit/clipboard.h"
#include "pointeditor/edit/tests/editor_driver.h"
#include "tests/support/scene_builders.h"

namespace tavo::testing {
namespace {

class ClipboardTest : public ::testing::Test, public Editor {
protected:
    // Runs a clipboard command as the window's shortcut does: one message.
    void run(void (*command)(EditorState&)) { edits.run(command, false); }
    void offer(const std::vector<PointRecord>& points) {
        platform.clipboardHolds = {writePointText(points), encodePointFile(points)};
    }
    std::vector<uint8_t> tableBytes(int from, int count) const {
        return encodePointFile(std::span(pts).subspan(from, count));
    }
};

// A walking loop of four points (ids 10..13) with a human on it and one walking another path,
// copied in one editor and pasted into another whose table already has ids 10..13 and 0..1.
TEST_F(ClipboardTest, PastedIdsMoveOffThoseInUseAndLinksAmongThePastedPointsFollow) {
    Editor source;
    source.put({{0, 2, 0, 0, 0, KindPath, 0, 11, 10},
                {1, 2, 10, 0, 0, KindPath, 0, 12, 11},
                {2, 2, 10, 0, 10, KindPath, 0, 13, 12},
                {3, 2, 0, 0, 10, KindPath, 0, 10, 13},
                {4, 2, 5, 0, 5, KindHuman, 0, 12, 20},       // walks the copied loop
                {5, 2, 5, 0, 6, KindHuman, 0, 99, 21},       // walks a path outside the copy
                {6, 2, 5, 0, 7, KindRandomPath, 13, 99, 22}, // one branch each way
                {7, 1, 50, 0, 50, KindPath, 0, 10, 30}});    // not selected: not copied
    source.edits.run(copySelection, false);
    platform.clipboardHolds = source.platform.clipboardHolds;

    for (int slot = 0; slot < 6; ++slot) {
        const int id = slot < 4 ? 10 + slot : slot - 4; // ids 10..13, 0 and 1
        put({{float(slot), 2, 0, 0, 0, KindWeapon, 0, 0, float(id)}});
    }
    const PointTable before = state.pointTable;
    run(pasteClipboard);

    // name, slot, expected p1..p4: the clashing ids 10..13 take the lowest free 2..5; 20..22
    // are free and stay.
    const std::tuple<const char*, int, Params> rows[] = {
        {"loop 10 -> 11", 6, {KindPath, 0, 3, 2}},
        {"loop 11 -> 12", 7, {KindPath, 0, 4, 3}},
        {"loop 12 -> 13", 8, {KindPath, 0, 5, 4}},
        {"loop 13 -> 10", 9, {KindPath, 0, 2, 5}},
        {"human on the loop", 10, {KindHuman, 0, 4, 20}},
        {"human on another path", 11, {KindHuman, 0, 99, 21}},
        {"random branch into the loop and out", 12, {KindRandomPath, 5, 99, 22}},
    };
    for (const auto& [name, slot, params] : rows) {
        EXPECT_EQ(this->params(slot), params) << name;
    }
    EXPECT_EQ(used(14), (Slots{1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 0}))
        << "the pasted points alone are selected";
    EXPECT_EQ(xyz(8), (V3{10, 0, 10})) << "over no pane they land where they were copied";
    ASSERT_TRUE(edits.undo(false));
    EXPECT_TRUE(sameTable(state.pointTable, before)) << "one undo step takes the paste back";
}

// Once every id from 0 up is taken the negative ids follow, from -128.
TEST(Renumbering, PastTheLastPositiveIdTheNegativeIdsFollowFromTheLowest) {
    // name, ids in the table, the pasted point's new id
    const std::tuple<const char*, std::vector<int>, int> rows[] = {
        {"0..127 taken", {}, -128},
        {"-128 too", {-128}, -127},
        {"-128 and -126", {-128, -126}, -127},
    };
    for (const auto& [name, negatives, expected] : rows) {
        PointTable table;
        int slot = 0;
        for (int id = 0; id <= 127; ++id, ++slot) {
            table.points[slot].p4 = int8_t(id);
            table.pointUsed[slot] = SlotUsed;
        }
        for (int id : negatives) {
            table.points[slot].p4 = int8_t(id);
            table.pointUsed[slot++] = SlotUsed;
        }
        std::vector<PointRecord> pasted = {point(0, 0, 0, KindWeapon, 0, 0, 5)};
        renumberAgainst(table, pasted);
        EXPECT_EQ(pasted[0].p4, expected) << name;
    }
}

// Without a platform there is no clipboard: nothing is copied, cut, pasted or told.
TEST(ClipboardWithoutPlatform, NothingIsCutOrPasted) {
    EditorState state;
    state.pointTable.pointUsed[2] = SlotSelected;
    cutSelection(state);
    EXPECT_EQ(state.pointTable.pointUsed[2], SlotSelected) << "the cut point stays";
    pasteClipboard(state);
    EXPECT_EQ(countUsedPoints(state.pointTable), 1) << "nothing pasted";
    copySelection(state); // and nothing to crash on
    state.pointTable.pointUsed.fill(SlotSelected);
    duplicateSelection(state); // a full table: the box has no platform to show on
    EXPECT_EQ(countUsedPoints(state.pointTable), 200) << "nothing duplicated";
}

TEST_F(ClipboardTest, PastedPointsCentreOnTheCursorOfThePaneUnderThePointer) {
    // Bounds centre (2, 2, 5); the cursor of each pane below is 6.5 and 2.5 on its two axes,
    // 7.5 and 2.5 on the grid of 2.5.
    offer({point(0, 1, 0, KindWeapon), point(4, 3, 10, KindWeapon, 0, 0, 2)});
    // name, pointer, grid lock, where the first point lands
    const std::tuple<const char*, std::pair<int, int>, int, V3> rows[] = {
        {"top pane: x and z", {163, 160}, 1, {5.5f, 1, -2.5f}},
        {"top pane off the grid", {163, 160}, 0, {4.5f, 1, -2.5f}},
        {"front pane: x and y", {163, 450}, 1, {5.5f, 1.5f, 0}},
        {"side pane: z and y", {453, 450}, 1, {0, 1.5f, 2.5f}},
        {"3D pane: where copied", {440, 165}, 1, {0, 1, 0}},
        {"no pane: where copied", {295, 10}, 1, {0, 1, 0}},
    };
    for (const auto& [name, pointer, grid, first] : rows) {
        state.pointTable = {};
        state.gridLock = grid;
        moveTo(pointer.first, pointer.second);
        run(pasteClipboard);
        EXPECT_EQ(xyz(0), first) << name;
        EXPECT_EQ(xyz(1)[0] - xyz(0)[0], 4.0f) << name << ": the points keep their spacing";
    }
}

TEST_F(ClipboardTest, APasteThatWouldPassTheTableHoldsPastesNothingAndSaysSo) {
    offer({point(1, 0, 0, KindWeapon), point(2, 0, 0, KindWeapon), point(3, 0, 0, KindWeapon)});
    // name, points in use before, English, the box
    const std::tuple<const char*, int, int, const char*> rows[] = {
        {"one over", 198, 1,
         "3 POINTS WOULD MAKE 201, MORE THAN 200.\nNOTHING WAS ADDED. / PASTE|"},
        {"in Japanese", 200, 0,
         "3 個を加えると 203 個になり、200 個を超えます。\n何も追加していません。 / 貼り付け|"},
        {"exactly full", 197, 1, ""},
    };
    for (const auto& [name, inUse, english, box] : rows) {
        state.pointTable = {};
        state.english = english;
        for (int slot = 0; slot < inUse; ++slot) {
            put({{float(slot), 1, 0, 0, 0, KindWeapon, 0, 0, 0}});
        }
        const PointTable before = state.pointTable;
        run(pasteClipboard);
        EXPECT_EQ(boxesShown(), box) << name;
        EXPECT_EQ(countUsedPoints(state.pointTable), inUse == 197 ? 200 : inUse) << name;
        EXPECT_EQ(sameTable(state.pointTable, before), inUse != 197) << name << ": unchanged";
    }
}

TEST_F(ClipboardTest, TheTextFormAloneComesBackBitForBit) {
    const std::vector<PointRecord> points = {
        point(0.1f, -0.0f, 1e-45f, KindPath, 2, 7, 7, -1.5f),
        point(3.4028235e38f, -1e-7f, 123456.79f, KindRandomWeapon, -128, 127, 9),
    };
    // name, clipboard text
    const std::pair<const char*, std::string> rows[] = {
        {"as copied", writePointText(points)},
        {"typed in a text editor",
         "\xEF\xBB\xBFtavo-points-text 1\r\n# two points\r\n\r\n"
         "0.1 -0 1e-45 -1.5 3 2 7 7\r\n3.4028235e38 -1e-7 123456.79 0 7 -128 127 9 # the last\r\n"},
    };
    for (const auto& [name, text] : rows) {
        state.pointTable = {};
        platform.clipboardHolds = {text, std::nullopt};
        run(pasteClipboard);
        EXPECT_EQ(tableBytes(0, 2), encodePointFile(points)) << name;
        EXPECT_EQ(boxesShown(), "") << name;
    }
}

TEST_F(ClipboardTest, AnythingButPointsIsRefusedWithAReasonAndChangesNothing) {
    put({{0, 2, 1, 2, 3, KindWeapon, 0, 0, 4}});
    const std::vector<uint8_t> exact = encodePointFile(std::vector{point(9, 9, 9, KindWeapon)});
    std::vector<uint8_t> cut = exact;
    cut.pop_back();
    std::vector<uint8_t> longer = exact;
    longer.push_back(0);
    const std::string refused = "THE CLIPBOARD HOLDS NO POINTS.\n";
    // name, clipboard, the box
    const std::tuple<const char*, ClipboardContents, std::string> rows[] = {
        {"prose",
         {"Dear diary", std::nullopt},
         refused + "line 1: expected the header \"tavo-points-text 1\" / PASTE|"},
        {"empty clipboard", {}, refused + "the clipboard holds no text / PASTE|"},
        {"a header alone",
         {"tavo-points-text 1\n", std::nullopt},
         refused + "the text names no point / PASTE|"},
        {"a bad line",
         {"tavo-points-text 1\n1 2 3\n", std::nullopt},
         refused + "line 2: expected 8 values (x y z r p1 p2 p3 p4), found 3 / PASTE|"},
        {"records cut short",
         {std::nullopt, cut},
         refused + "the clipboard holds no text / PASTE|"},
        {"a byte too many",
         {std::nullopt, longer},
         refused + "the clipboard holds no text / PASTE|"},
        {"no records",
         {std::nullopt, std::vector<uint8_t>{0, 0}},
         refused + "the clipboard holds no text / PASTE|"},
    };
    for (const auto& [name, contents, box] : rows) {
        platform.clipboardHolds = contents;
        const PointTable before = state.pointTable;
        run(pasteClipboard);
        EXPECT_EQ(boxesShown(), box) << name;
        EXPECT_TRUE(sameTable(state.pointTable, before)) << name << ": nothing changed";
        EXPECT_EQ(history().undoSteps(), 0u) << name << ": no undo step";
    }
    state.english = 0;
    platform.clipboardHolds = {"x", std::nullopt};
    run(pasteClipboard);
    EXPECT_EQ(boxesShown(), "クリップボードにポイントがありません。\nline 1: expected the header "
                            "\"tavo-points-text 1\" / 貼り付け|");
    // The records are taken over the text when both are whole.
    platform.clipboardHolds = {"not points", exact};
    run(pasteClipboard);
    EXPECT_EQ(xyz(1), (V3{9, 9, 9})) << "the exact form wins";
}

TEST_F(ClipboardTest, CopyAndCutPutBothFormsCutDeletesWithoutAskingAndUndoes) {
    put({{3, 2, 1, 2, 3, KindWeapon, 4, 0, 7}, {5, 1, 4, 5, 6, KindWeapon, 0, 0, 8}});
    run(copySelection);
    const std::vector<PointRecord> copied = {pts[3]};
    EXPECT_EQ(platform.clipboardHolds.text, writePointText(copied)) << "the text form";
    EXPECT_EQ(platform.clipboardHolds.points, encodePointFile(copied)) << "the exact form";
    EXPECT_EQ(history().undoSteps(), 0u) << "a copy changes no point";

    platform.clipboardHolds = {"kept", std::nullopt};
    state.pointTable.pointUsed[3] = SlotUsed;
    run(cutSelection);
    EXPECT_EQ(platform.clipboardHolds.text, "kept") << "nothing selected: the clipboard stays";
    EXPECT_EQ(used(6), (Slots{0, 0, 0, 1, 0, 1})) << "and no point goes";

    state.pointTable.pointUsed[3] = SlotSelected;
    run(cutSelection);
    EXPECT_EQ(platform.clipboardHolds.points, encodePointFile(copied)) << "cut copies";
    EXPECT_EQ(used(6), (Slots{0, 0, 0, 0, 0, 1})) << "and deletes";
    EXPECT_EQ(boxesShown(), "") << "without a question";
    ASSERT_TRUE(edits.undo(false));
    EXPECT_EQ(used(6), (Slots{0, 0, 0, 2, 0, 1})) << "undo brings the cut point back, selected";
}

TEST_F(ClipboardTest, DuplicatesLieOneGridStepAlongXAndZWithIdsOfTheirOwn) {
    setZoom(state, 4.0f); // grid step 1.25
    put({{0, 2, 1, 2, 3, KindPath, 0, 6, 5},
         {1, 1, 7, 7, 7, KindPath, 0, 5, 8},
         {2, 2, 4, 5, 6, KindPath, 0, 8, 6}});
    const PointTable before = state.pointTable;
    run(duplicateSelection);
    // name, slot, expected place, expected p1..p4
    const std::tuple<const char*, int, V3, Params> rows[] = {
        {"the first: its link to 6 follows the copy", 3, {2.25f, 2, 4.25f}, {KindPath, 0, 1, 0}},
        {"the second: its link to 8 stays", 4, {5.25f, 5, 7.25f}, {KindPath, 0, 8, 1}},
    };
    for (const auto& [name, slot, at, params] : rows) {
        EXPECT_EQ(xyz(slot), at) << name;
        EXPECT_EQ(this->params(slot), params) << name;
    }
    EXPECT_EQ(used(6), (Slots{1, 1, 1, 2, 2, 0})) << "the copies are the selection";
    ASSERT_TRUE(edits.undo(false));
    EXPECT_TRUE(sameTable(state.pointTable, before)) << "one undo step";

    state.pointTable.pointUsed.fill(SlotSelected);
    run(duplicateSelection);
    EXPECT_EQ(boxesShown(),
              "200 POINTS WOULD MAKE 400, MORE THAN 200.\nNOTHING WAS ADDED. / DUPLICATE|");
}

} // namespace
} // namespace tavo::testing
