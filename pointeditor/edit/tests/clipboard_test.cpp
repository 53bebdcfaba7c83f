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
    // n points in use, ids all 0.
    void fill(int n) {
        state.pointTable = {};
        std::fill_n(state.pointTable.pointUsed.begin(), n, SlotUsed);
    }
};

// A walking loop (ids 10..13) with a human on it, one on another path and a random branch,
// copied in one editor and pasted into another whose table already has ids 10..13 and 0..1.
TEST_F(ClipboardTest, PastedIdsMoveOffThoseInUseAndLinksAmongThePastedPointsFollow) {
    Editor source;
    source.put({{0, 2, 0, 0, 0, KindPath, 0, 11, 10},
                {1, 2, 10, 0, 0, KindPath, 0, 12, 11},
                {2, 2, 10, 0, 10, KindPath, 0, 13, 12},
                {3, 2, 0, 0, 10, KindPath, 0, 10, 13},
                {4, 2, 5, 0, 5, KindHuman, 0, 12, 20},
                {5, 2, 5, 0, 6, KindHuman, 0, 99, 21},
                {6, 2, 5, 0, 7, KindRandomPath, 13, 99, 22},
                {7, 1, 50, 0, 50, KindPath, 0, 10, 30}}); // not selected: not copied
    source.edits.run(copySelection, false);
    platform.clipboardHolds = source.platform.clipboardHolds;
    for (int slot = 0; slot < 6; ++slot) {
        put({{float(slot), 2, 0, 0, 0, KindWeapon, 0, 0, float(slot < 4 ? 10 + slot : slot - 4)}});
    }
    const PointTable before = state.pointTable;
    run(pasteClipboard);
    // name, slot, p1..p4: the clashing 10..13 take the lowest free 2..5; 20..22 stay.
    const std::tuple<const char*, int, Params> rows[] = {
        {"loop 10 -> 11", 6, {KindPath, 0, 3, 2}},
        {"loop 13 -> 10", 9, {KindPath, 0, 2, 5}},
        {"human on the loop", 10, {KindHuman, 0, 4, 20}},
        {"human on another path", 11, {KindHuman, 0, 99, 21}},
        {"random branch into the loop and out", 12, {KindRandomPath, 5, 99, 22}},
    };
    for (const auto& [name, slot, params] : rows) {
        EXPECT_EQ(this->params(slot), params) << name;
    }
    EXPECT_EQ(used(14), (Slots{1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 0})) << "the new selection";
    EXPECT_EQ(xyz(8), (V3{10, 0, 10})) << "over no pane they land where they were copied";
    ASSERT_TRUE(edits.undo(false));
    EXPECT_TRUE(sameTable(state.pointTable, before)) << "one undo step takes the paste back";

    // Past 0..127 the lowest free id is the lowest negative one.
    PointTable full;
    for (int slot = 0; slot < 129; ++slot) {
        full.pointUsed[slot] = SlotUsed;
        full.points[slot].p4 = int8_t(slot < 128 ? slot : -128);
    }
    std::vector<PointRecord> pasted = {point(0, 0, 0, KindWeapon, 0, 0, 5)};
    renumberAgainst(full, pasted);
    EXPECT_EQ(pasted[0].p4, -127) << "0..127 and -128 taken";
}

TEST_F(ClipboardTest, PastedPointsCentreOnTheCursorOfThePaneUnderThePointer) {
    // Bounds centre (2, 2, 5); each pane's cursor below is 6.5 and 2.5 on its two axes, 7.5 and
    // 2.5 on the grid of 2.5.
    const std::vector<PointRecord> copied = {point(0, 1, 0, 2), point(4, 3, 10, 2, 0, 0, 2)};
    platform.clipboardHolds = {std::nullopt, encodePointFile(copied)};
    // name, pointer, grid lock, where the first point lands
    const std::tuple<const char*, std::pair<int, int>, int, V3> rows[] = {
        {"top pane: x and z", {163, 160}, 1, {5.5f, 1, -2.5f}},
        {"top pane off the grid", {163, 160}, 0, {4.5f, 1, -2.5f}},
        {"front pane: x and y", {163, 450}, 1, {5.5f, 1.5f, 0}},
        {"side pane: z and y", {453, 450}, 1, {0, 1.5f, 2.5f}},
        {"3D pane: where copied", {440, 165}, 1, {0, 1, 0}},
    };
    for (const auto& [name, pointer, grid, first] : rows) {
        fill(0);
        state.gridLock = grid;
        moveTo(pointer.first, pointer.second);
        run(pasteClipboard);
        EXPECT_EQ(xyz(0), first) << name;
        EXPECT_EQ(xyz(1)[0] - xyz(0)[0], 4.0f) << name << ": the points keep their spacing";
    }
}

TEST_F(ClipboardTest, APasteOrDuplicateThatWouldPassTheTableAddsNothingAndSaysSo) {
    platform.clipboardHolds = {std::nullopt, encodePointFile(std::vector(3, point(1, 0, 0, 2)))};
    // name, points in use, English, command, the box
    const std::tuple<const char*, int, int, void (*)(EditorState&), const char*> rows[] = {
        {"one over", 198, 1, pasteClipboard,
         "3 POINTS WOULD MAKE 201, MORE THAN 200.\nNOTHING WAS ADDED. / PASTE|"},
        {"in Japanese", 200, 0, pasteClipboard,
         "3 個を加えると 203 個になり、200 個を超えます。\n何も追加していません。 / 貼り付け|"},
        {"exactly full", 197, 1, pasteClipboard, ""},
        {"duplicate", 200, 1, duplicateSelection,
         "200 POINTS WOULD MAKE 400, MORE THAN 200.\nNOTHING WAS ADDED. / DUPLICATE|"},
    };
    for (const auto& [name, inUse, english, command, box] : rows) {
        fill(inUse);
        if (command == duplicateSelection) {
            state.pointTable.pointUsed.fill(SlotSelected);
        }
        state.english = english;
        run(command);
        EXPECT_EQ(boxesShown(), box) << name;
        EXPECT_EQ(countUsedPoints(state.pointTable), inUse == 197 ? 200 : inUse) << name;
    }
}

TEST_F(ClipboardTest, TheTextFormComesBackBitForBitAndAnythingElseIsRefused) {
    const std::vector<PointRecord> points = {point(0.1f, -0.0f, 1e-45f, KindPath, 2, 7, 7, -1.5f),
                                             point(3.4028235e38f, -1e-7f, 1, 7, -128, 127, 9)};
    const std::vector<uint8_t> exact = encodePointFile(points);
    const std::string no = "THE CLIPBOARD HOLDS NO POINTS.\n";
    const std::string noText = no + "the clipboard holds no text / PASTE|";
    std::vector<uint8_t> miscounted = exact;
    miscounted[0] = 3;
    // name, clipboard, the box (none: pasted)
    const std::tuple<const char*, ClipboardContents, std::string> rows[] = {
        {"as copied", {writePointText(points), std::nullopt}, ""},
        {"the exact form wins over text", {"not points", exact}, ""},
        {"prose",
         {"Dear diary", std::nullopt},
         no + "line 1: expected the header \"tavo-points-text 1\" / PASTE|"},
        {"nothing", {}, noText},
        {"a header alone",
         {"tavo-points-text 1\n", std::nullopt},
         no + "the text names no point / PASTE|"},
        {"records a byte short",
         {std::nullopt, std::vector(exact.begin(), exact.end() - 1)},
         noText},
        {"a count of 3 over two records", {std::nullopt, miscounted}, noText},
        {"no records", {std::nullopt, std::vector<uint8_t>{0, 0}}, noText},
    };
    for (const auto& [name, contents, box] : rows) {
        fill(0);
        platform.clipboardHolds = contents;
        run(pasteClipboard);
        EXPECT_EQ(boxesShown(), box) << name;
        EXPECT_EQ(encodePointFile(std::span(pts).first(countUsedPoints(state.pointTable))),
                  box.empty() ? exact : encodePointFile({}))
            << name;
    }
}

TEST_F(ClipboardTest, CutCopiesAndDeletesWithoutAQuestionDuplicateMovesOneGridStep) {
    setZoom(state, 4.0f); // grid step 1.25
    put({{0, 2, 1, 2, 3, KindPath, 0, 6, 5},
         {1, 1, 7, 7, 7, KindPath, 0, 5, 8},
         {2, 2, 4, 5, 6, KindPath, 0, 8, 6}});
    run(duplicateSelection);
    EXPECT_EQ(xyz(3), (V3{2.25f, 2, 4.25f})) << "one grid step along x and z";
    EXPECT_EQ(xyz(4), (V3{5.25f, 5, 7.25f})) << "the second copy";
    EXPECT_EQ(params(3), (Params{KindPath, 0, 1, 0})) << "its link to 6 follows the copy";
    EXPECT_EQ(params(4), (Params{KindPath, 0, 8, 1})) << "its link to 8 stays";
    EXPECT_EQ(used(6), (Slots{1, 1, 1, 2, 2, 0})) << "the copies are the selection";

    run(cutSelection);
    EXPECT_EQ(platform.clipboardHolds.points, encodePointFile(std::vector{pts[3], pts[4]}));
    EXPECT_EQ(used(6), (Slots{1, 1, 1, 0, 0, 0})) << "cut deletes";
    platform.clipboardHolds = {"kept", std::nullopt};
    run(copySelection);
    EXPECT_EQ(platform.clipboardHolds.text, "kept") << "nothing selected: the clipboard stays";
    ASSERT_TRUE(edits.undo(false));
    EXPECT_EQ(used(6), (Slots{1, 1, 1, 2, 2, 0})) << "undo brings the cut points back";
    ASSERT_TRUE(edits.undo(false));
    EXPECT_EQ(used(6), (Slots{2, 1, 2, 0, 0, 0})) << "and the duplicate was one step";

    state.platform = nullptr; // no clipboard: nothing is cut
    run(cutSelection);
    EXPECT_EQ(used(3), (Slots{2, 1, 2})) << "without a platform";
}

} // namespace
} // namespace tavo::testing
