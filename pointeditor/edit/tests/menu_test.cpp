#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "pointeditor/edit/menu.h"
#include "pointeditor/edit/tests/edit_fixture.h"

namespace tavo::testing {
namespace {

class MenuTest : public EditorTest {
  protected:
    void clickAt(int x, int y) {
        moveTo(x, y);
        onLeftButtonDown(state);
    }
    void clickMenu(int n) { clickAt(608, 48 + 30 * (n - 1)); }
    void clickToggle(int j) { clickAt(608, 368 + 20 * j); }
};

TEST_F(MenuTest, HitAreasEndAtTheirExactEdges) {
    // x, y, the mode that results from mode 0 (3: MOVE POINT at 7 + 6 away).
    const int menu[][3] = {{621, 48, 1},  {622, 48, 0}, {608, 61, 1},  {608, 62, 0},
                           {608, 63, 0},  {608, 65, 2}, {601, 102, 3}, {608, 168, 5},
                           {608, 288, 0}, {600, 280, 0}};
    for (auto [x, y, mode] : menu) {
        state.menuMode = 0;
        clickAt(x, y);
        EXPECT_EQ(state.menuMode, mode) << x << "," << y;
    }
    EXPECT_TRUE(platform.boxes.empty() && platform.dialogs.empty()); // "◆ -----" is inert
    clickAt(619, 368);
    EXPECT_EQ(state.gridLock, 0);
    clickAt(620, 368);
    EXPECT_EQ(state.gridLock, 0);
    int32_t EditorState::*toggles[] = {&EditorState::gridLock, &EditorState::showDirection,
                                       &EditorState::showTopView, &EditorState::showFrontView,
                                       &EditorState::showSideView};
    state.gridLock = 1;
    for (int j = 0; j < 5; ++j) {
        state.*toggles[j] = 7; // any value but 0 turns off
        clickToggle(j);
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(state.*toggles[k], k == j ? 0 : 1) << j << " " << k;
        }
        clickToggle(j);
    }
}

TEST_F(MenuTest, NewPointWaitsForAClickInAPaneAndPlacesOnePoint) {
    state.currentParams = {2, 5, -3, 9};
    putPoint(0, 0, 0, 0);
    state.points[1].r = 3.0f; // stale bytes of a free slot
    clickMenu(1);
    clickToggle(1); // the toggles work meanwhile and keep the command
    EXPECT_TRUE(state.menuMode == 1 && state.showDirection == 0 && countUsedPoints(state) == 1);
    clickAt(170, 155); // top pane: world (10, 0, 5)
    EXPECT_EQ(state.menuMode, 0);
    const PointRecord& p = state.points[1];
    EXPECT_EQ(slots(3), (std::vector<int>{1, 1, 0}));
    EXPECT_TRUE(p.x == 10 && p.y == 0 && p.z == 5 && p.r == 0);
    EXPECT_TRUE(p.p1 == 2 && p.p2 == 5 && p.p3 == -3 && p.p4 == 9);
    clickAt(170, 155); // the command has ended
    EXPECT_EQ(countUsedPoints(state), 2);

    clickMenu(1);
    clickAt(440, 165); // the 3D pane places at its cursor
    EXPECT_EQ(state.points[2].x, state.cursorX);
    EXPECT_EQ(state.points[2].z, state.cursorZ);

    state.pointUsed.fill(1);
    clickMenu(1);
    clickAt(150, 165); // a full table places nothing and still ends the command
    EXPECT_EQ(state.menuMode, 0);
}

class SelectionBoxTest : public MenuTest {
  protected:
    void SetUp() override {
        putPoint(0, 0, 99, 0, 1);     // centre, any height
        putPoint(1, 10, 0, 10, 1);    // on a corner
        putPoint(2, -10, -5, 3, 1);   // on an edge
        putPoint(3, 10.5f, 0, 0, 1);  // just outside in x
        putPoint(4, 0, 0, -10.5f, 2); // just outside in z, selected
        state.menuMode = 2;
    }
};

TEST_F(SelectionBoxTest, TwoClicksInOnePaneSelectTheBoxAndItsBorder) {
    clickAt(170, 145); // top pane: world (10, 0, 10)
    EXPECT_TRUE(state.boxView == 1 && state.boxStartX == 10 && state.boxStartZ == 10);
    clickAt(150, 455); // other panes and no pane keep the begun box
    clickAt(440, 165);
    clickAt(700, 300);
    EXPECT_EQ(state.boxView, 1);
    clickAt(130, 185); // world (-10, 0, -10)
    EXPECT_EQ(slots(6), (std::vector<int>{2, 2, 2, 1, 1, 0}));
    EXPECT_TRUE(state.boxView == 0 && state.menuMode == 2);

    platform.shift = true; // the other corner order; Shift adds to the selection
    state.pointUsed[4] = 2;
    clickAt(130, 185);
    clickAt(170, 145);
    EXPECT_EQ(slots(6), (std::vector<int>{2, 2, 2, 1, 2, 0}));
}

TEST_F(SelectionBoxTest, FrontAndSidePanesTestTheirOwnAxes) {
    clickAt(130, 445); // front pane: world (-10, 5, z) to (10, -5, z)
    clickAt(170, 465);
    EXPECT_EQ(slots(5), (std::vector<int>{1, 2, 2, 1, 2}));
    clickAt(436, 455); // side pane: world (x, 0, -2) to (x, -5, 3)
    clickAt(446, 465);
    EXPECT_EQ(slots(5), (std::vector<int>{1, 1, 2, 2, 1}));
}

TEST_F(SelectionBoxTest, NoBoxBeginsOutsideTheTwoDPanesAndAMenuChoiceForgetsIt) {
    clickAt(440, 165);
    clickAt(700, 300);
    EXPECT_EQ(state.boxView, 0);
    clickAt(150, 165);
    clickMenu(2);
    EXPECT_EQ(state.boxView, 0);
}

TEST_F(MenuTest, DeleteAsksAndFreesOnlyTheSelectionOnOk) {
    putPoint(0, 1, 0, 0, 2);
    putPoint(1, 2, 0, 0, 1);
    putPoint(2, 3, 0, 0, 2);
    platform.boxAnswers = {BoxAnswer::Cancel, BoxAnswer::Ok};
    clickMenu(4);
    EXPECT_TRUE(state.menuMode == 0 && countUsedPoints(state) == 3);
    clickMenu(4);
    EXPECT_EQ(slots(3), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(state.points[2].x, 3.0f); // the record stays until the slot is reused
    clickMenu(4);                       // nothing selected: still asked
    ASSERT_EQ(platform.boxes.size(), 3u);
    const RecordedBox& box = platform.boxes[2];
    EXPECT_TRUE(box.text == "DELETE OK?" && box.caption == "DELETE");
    EXPECT_TRUE(box.buttons == BoxButtons::OkCancel && box.icon == BoxIcon::Question);
    EXPECT_EQ(state.pointUsed[1], 1);
}

class FileCommandTest : public MenuTest {
  protected:
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tavo_menu_" + std::to_string(getpid()));
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }
    void expectDialog(std::size_t i, bool save, const char* title, const char* pattern) {
        ASSERT_LT(i, platform.dialogs.size());
        EXPECT_EQ(platform.dialogs[i].save, save);
        EXPECT_EQ(platform.dialogs[i].title, title);
        EXPECT_EQ(platform.dialogs[i].filter.pattern, pattern);
    }
};

TEST_F(FileCommandTest, SavingNothingSaysNoPointAndOpensNoDialog) {
    clickMenu(7);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_TRUE(platform.boxes[0].text == "NO POINT" && platform.boxes[0].caption == "SAVE");
    EXPECT_TRUE(platform.boxes[0].buttons == BoxButtons::Ok &&
                platform.boxes[0].icon == BoxIcon::None);
    EXPECT_TRUE(platform.dialogs.empty() && state.menuMode == 0);
}

TEST_F(FileCommandTest, SaveAndLoadGoThroughTheirDialogsAndAFailedLoadKeepsThePoints) {
    putPoint(4, 1.5f, 2, 3, 2, {3, 2, 7, 8});
    putPoint(9, -4, 5, 6, 1, {1, 0, 0, -2});
    const std::string path = (dir / "mission.pd1").string();
    platform.dialogAnswers = {std::nullopt, path, path, (dir / "missing.pd1").string()};
    clickMenu(7); // cancelled: nothing written
    EXPECT_FALSE(std::filesystem::exists(path));
    clickMenu(7);
    expectDialog(1, true, "save", "*.pd1");
    EXPECT_EQ(platform.dialogs[1].filter.description, "point data version 1 (pd1)");
    EXPECT_EQ(state.menuMode, 0);

    state.pointUsed.fill(0);
    clickMenu(8);
    expectDialog(2, false, "load", "*.pd1");
    EXPECT_TRUE(state.menuMode == 0 && countUsedPoints(state) == 2);
    EXPECT_TRUE(state.points[0].x == 1.5f && state.points[1].p4 == -2); // packed from slot 0

    clickMenu(8);
    EXPECT_EQ(countUsedPoints(state), 2);
    EXPECT_EQ(platform.boxes.back().text, "file open error");
}

TEST_F(FileCommandTest, LoadBlockLoadsTheChosenMap) {
    std::string bytes(10 * 31, '\0'); // no texture names, one block in use
    bytes += std::string("\x01\x00", 2) + std::string(312, '\0') + std::string("\x01\0\0\0", 4);
    std::ofstream(dir / "map.bd1", std::ios::binary) << bytes;
    platform.dialogAnswers = {std::nullopt, (dir / "map.bd1").string()};
    clickMenu(6);
    clickMenu(6);
    expectDialog(0, false, "load block", "*.bd1");
    EXPECT_EQ(platform.dialogs[0].filter.description, "block data version 1 (bd1)");
    EXPECT_TRUE(state.menuMode == 0 && state.blocks[0].inUse == 1 && state.blocks[1].inUse == 0);
    EXPECT_EQ(std::string(state.blockDir), dir.string());
}

} // namespace
} // namespace tavo::testing
