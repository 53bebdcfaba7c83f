#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "pointeditor/data/point_file.h"
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
    // The hit point of menu entry n and of toggle j.
    void clickMenu(int n) { clickAt(608, 48 + 30 * (n - 1)); }
    void clickToggle(int j) { clickAt(608, 368 + 20 * j); }
};

TEST_F(MenuTest, MenuDiamondsEndThirteenPixelsFromTheirMarks) {
    clickAt(621, 48);
    EXPECT_EQ(state.menuMode, 1);
    state.menuMode = 0;
    clickAt(622, 48);
    EXPECT_EQ(state.menuMode, 0);
    clickAt(608, 61);
    EXPECT_EQ(state.menuMode, 1);
    state.menuMode = 0;
    clickAt(608, 62);
    EXPECT_EQ(state.menuMode, 0);
    clickAt(608, 63);
    EXPECT_EQ(state.menuMode, 0);
    clickAt(608, 65);
    EXPECT_EQ(state.menuMode, 2);
    clickAt(601, 102); // 7 + 6 away from MOVE POINT's mark
    EXPECT_EQ(state.menuMode, 3);
    clickMenu(5);
    EXPECT_EQ(state.menuMode, 5);
    clickAt(608, 300); // a click beside the menu keeps the command
    EXPECT_EQ(state.menuMode, 5);
}

TEST_F(MenuTest, TheNinthEntryIsInert) {
    state.menuMode = 3;
    state.boxView = 2;
    clickAt(608, 288);
    clickAt(600, 280);
    EXPECT_EQ(state.menuMode, 3);
    EXPECT_EQ(state.boxView, 2);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(MenuTest, TogglesFlipWithinElevenPixels) {
    clickAt(619, 368);
    EXPECT_EQ(state.gridLock, 0);
    clickAt(620, 368);
    EXPECT_EQ(state.gridLock, 0);
    clickAt(597, 368);
    EXPECT_EQ(state.gridLock, 1);
    int32_t EditorState::*fields[] = {&EditorState::gridLock, &EditorState::showDirection,
                                      &EditorState::showTopView, &EditorState::showFrontView,
                                      &EditorState::showSideView};
    for (int j = 0; j < 5; ++j) {
        clickToggle(j);
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(state.*fields[k], k == j ? 0 : 1) << j << " " << k;
        }
        clickToggle(j);
    }
    state.showSideView = 7; // any value but 0 turns off
    clickToggle(4);
    EXPECT_EQ(state.showSideView, 0);
    EXPECT_EQ(state.menuMode, 0);
}

TEST_F(MenuTest, NewPointWaitsForAClickInAPaneAndPlacesOnePoint) {
    state.currentParams = {2, 5, -3, 9};
    clickMenu(1);
    EXPECT_EQ(state.menuMode, 1);
    EXPECT_EQ(countUsedPoints(state), 0);
    clickToggle(1); // the toggles work meanwhile and keep the command
    EXPECT_EQ(state.showDirection, 0);
    EXPECT_EQ(state.menuMode, 1);

    clickAt(170, 155); // top pane: world (10, 0, 5)
    EXPECT_EQ(state.menuMode, 0);
    ASSERT_EQ(state.pointUsed[0], 1);
    EXPECT_EQ(countUsedPoints(state), 1);
    EXPECT_FLOAT_EQ(state.points[0].x, 10.0f);
    EXPECT_FLOAT_EQ(state.points[0].z, 5.0f);
    EXPECT_EQ(state.points[0].r, 0.0f);
    EXPECT_EQ(state.points[0].p1, 2);
    EXPECT_EQ(state.points[0].p2, 5);
    EXPECT_EQ(state.points[0].p3, -3);
    EXPECT_EQ(state.points[0].p4, 9);

    clickAt(170, 155); // the command has ended
    EXPECT_EQ(countUsedPoints(state), 1);

    clickMenu(1);
    clickAt(440, 165); // the 3D pane places at its cursor, 40 units ahead of the camera
    EXPECT_EQ(state.pointUsed[1], 1);
    EXPECT_EQ(state.points[1].x, state.cursorX);
    EXPECT_EQ(state.points[1].y, state.cursorY);
    EXPECT_EQ(state.points[1].z, state.cursorZ);
}

TEST_F(MenuTest, AddPointFillsTheLowestFreeSlotAndNothingWhenFull) {
    putPoint(0, 0, 0, 0);
    putPoint(2, 0, 0, 0, 2);
    state.points[1].r = 3.0f; // stale bytes of a freed slot
    addPoint(state, 1, 2, 3);
    EXPECT_EQ(state.pointUsed[1], 1);
    EXPECT_EQ(state.points[1].r, 0.0f);
    addPoint(state, 4, 5, 6);
    EXPECT_EQ(state.pointUsed[3], 1);
    EXPECT_EQ(state.points[3].y, 5.0f);

    state.pointUsed.fill(1);
    const auto before = state.points;
    state.menuMode = 1;
    clickAt(150, 165);
    EXPECT_EQ(state.menuMode, 0); // a full table still ends the command
    for (int i = 0; i < MaxPoints; ++i) {
        EXPECT_EQ(state.points[i].x, before[i].x);
    }
}

TEST_F(MenuTest, ChoosingACommandForgetsABegunBox) {
    state.menuMode = 2;
    clickAt(150, 165);
    EXPECT_EQ(state.boxView, 1);
    clickMenu(2);
    EXPECT_EQ(state.boxView, 0);
}

class SelectionBoxTest : public MenuTest {
  protected:
    void SetUp() override {
        putPoint(0, 0, 99, 0, 1);     // centre, any height
        putPoint(1, 10, 0, 10, 1);    // on a corner
        putPoint(2, -10, -5, 3, 1);   // on an edge
        putPoint(3, 10.5f, 0, 0, 1);  // just outside in x
        putPoint(4, 0, 0, -10.5f, 2); // just outside in z, selected
        putPoint(5, 0, 0, 0, 0);      // free: never selected
        state.menuMode = 2;
    }
};

TEST_F(SelectionBoxTest, TwoClicksInOnePaneSelectTheBoxWithItsBorder) {
    clickAt(170, 145); // top pane: world (10, 0, 10)
    EXPECT_EQ(state.boxView, 1);
    EXPECT_EQ(state.boxStartX, 10.0f);
    EXPECT_EQ(state.boxStartZ, 10.0f);
    clickAt(130, 185); // world (-10, 0, -10)
    EXPECT_EQ(state.boxView, 0);
    EXPECT_EQ(state.menuMode, 2);
    EXPECT_EQ(state.pointUsed[0], 2);
    EXPECT_EQ(state.pointUsed[1], 2);
    EXPECT_EQ(state.pointUsed[2], 2);
    EXPECT_EQ(state.pointUsed[3], 1);
    EXPECT_EQ(state.pointUsed[4], 1); // deselected without Shift
    EXPECT_EQ(state.pointUsed[5], 0);
}

TEST_F(SelectionBoxTest, CornersInTheOtherOrderAndShiftAddingToTheSelection) {
    platform.shift = true;
    clickAt(130, 185);
    clickAt(170, 145);
    EXPECT_EQ(state.pointUsed[0], 2);
    EXPECT_EQ(state.pointUsed[1], 2);
    EXPECT_EQ(state.pointUsed[2], 2);
    EXPECT_EQ(state.pointUsed[3], 1);
    EXPECT_EQ(state.pointUsed[4], 2); // kept with Shift
}

TEST_F(SelectionBoxTest, FrontAndSidePanesTestTheirOwnAxes) {
    clickAt(130, 445);                // front pane: world (-10, 5, z)
    clickAt(170, 465);                // world (10, -5, z)
    EXPECT_EQ(state.pointUsed[0], 1); // y 99
    EXPECT_EQ(state.pointUsed[1], 2);
    EXPECT_EQ(state.pointUsed[2], 2);
    EXPECT_EQ(state.pointUsed[4], 2); // z is not looked at

    clickAt(436, 455); // side pane: world (x, 0, -2)
    clickAt(446, 465); // world (x, -5, 3)
    EXPECT_EQ(state.pointUsed[0], 1);
    EXPECT_EQ(state.pointUsed[1], 1);
    EXPECT_EQ(state.pointUsed[2], 2); // z 3, y -5: on two edges
    EXPECT_EQ(state.pointUsed[3], 2); // z 0, y 0; x is not looked at
}

TEST_F(SelectionBoxTest, AClickElsewhereKeepsTheBegunBox) {
    clickAt(170, 145);
    clickAt(150, 455); // front pane: nothing
    clickAt(440, 165); // 3D pane: nothing
    clickAt(700, 300); // no pane: nothing
    EXPECT_EQ(state.boxView, 1);
    EXPECT_EQ(state.pointUsed[4], 2);
    clickAt(130, 185);
    EXPECT_EQ(state.boxView, 0);
    EXPECT_EQ(state.pointUsed[0], 2);
    EXPECT_EQ(state.pointUsed[4], 1);
}

TEST_F(SelectionBoxTest, NoBoxBeginsInThePerspectivePaneOrOutsideThePanes) {
    clickAt(440, 165);
    EXPECT_EQ(state.boxView, 0);
    clickAt(700, 300);
    EXPECT_EQ(state.boxView, 0);
    EXPECT_EQ(state.pointUsed[4], 2);
}

TEST_F(MenuTest, DeleteAsksFirstAndFreesOnlyTheSelectionOnOk) {
    putPoint(0, 1, 0, 0, 2);
    putPoint(1, 2, 0, 0, 1);
    putPoint(2, 3, 0, 0, 2);
    platform.boxAnswers = {BoxAnswer::Cancel, BoxAnswer::Ok};
    clickMenu(4);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "DELETE OK?");
    EXPECT_EQ(platform.boxes[0].caption, "DELETE");
    EXPECT_EQ(platform.boxes[0].buttons, BoxButtons::OkCancel);
    EXPECT_EQ(platform.boxes[0].icon, BoxIcon::Question);
    EXPECT_EQ(state.menuMode, 0);
    EXPECT_EQ(countUsedPoints(state), 3);

    clickMenu(4);
    EXPECT_EQ(state.menuMode, 0);
    EXPECT_EQ(state.pointUsed[0], 0);
    EXPECT_EQ(state.pointUsed[1], 1);
    EXPECT_EQ(state.pointUsed[2], 0);
    EXPECT_EQ(state.points[2].x, 3.0f); // the record stays until the slot is reused

    clickMenu(4); // nothing selected: still asked, nothing changes
    EXPECT_EQ(platform.boxes.size(), 3u);
    EXPECT_EQ(state.pointUsed[1], 1);
}

class FileCommandTest : public MenuTest {
  protected:
    std::filesystem::path dir;
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("tavo_menu_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
};

TEST_F(FileCommandTest, SaveWithoutPointsSaysNoPointAndOpensNoDialog) {
    putPoint(3, 0, 0, 0, 0);
    clickMenu(7);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "NO POINT");
    EXPECT_EQ(platform.boxes[0].caption, "SAVE");
    EXPECT_EQ(platform.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(platform.boxes[0].icon, BoxIcon::None);
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(state.menuMode, 0);
}

TEST_F(FileCommandTest, SaveThenLoadRoundTripsThePointsThroughTheDialogs) {
    putPoint(4, 1.5f, 2, 3, 2, {3, 2, 7, 8});
    putPoint(9, -4, 5, 6, 1, {1, 0, 0, -2});
    const std::string path = (dir / "mission.pd1").string();
    platform.dialogAnswers = {std::nullopt, path};
    clickMenu(7); // cancelled: nothing written
    EXPECT_EQ(state.menuMode, 0);
    EXPECT_FALSE(std::filesystem::exists(path));
    clickMenu(7);
    ASSERT_EQ(platform.dialogs.size(), 2u);
    EXPECT_TRUE(platform.dialogs[1].save);
    EXPECT_EQ(platform.dialogs[1].title, "save");
    EXPECT_EQ(platform.dialogs[1].filter.description, "point data version 1 (pd1)");
    EXPECT_EQ(platform.dialogs[1].filter.pattern, "*.pd1");
    EXPECT_EQ(state.menuMode, 0);
    ASSERT_TRUE(std::filesystem::exists(path));

    state.pointUsed.fill(0);
    platform.dialogAnswers = {path};
    clickMenu(8);
    ASSERT_EQ(platform.dialogs.size(), 3u);
    EXPECT_FALSE(platform.dialogs[2].save);
    EXPECT_EQ(platform.dialogs[2].title, "load");
    EXPECT_EQ(platform.dialogs[2].filter.pattern, "*.pd1");
    EXPECT_EQ(state.menuMode, 0);
    EXPECT_EQ(countUsedPoints(state), 2);
    EXPECT_EQ(state.points[0].x, 1.5f); // packed from slot 0
    EXPECT_EQ(state.points[0].p3, 7);
    EXPECT_EQ(state.points[1].p4, -2);
}

TEST_F(FileCommandTest, AFailedPointLoadKeepsThePoints) {
    putPoint(0, 1, 2, 3, 1);
    platform.dialogAnswers = {(dir / "missing.pd1").string()};
    clickMenu(8);
    EXPECT_EQ(state.menuMode, 0);
    EXPECT_EQ(state.pointUsed[0], 1);
    EXPECT_EQ(state.points[0].x, 1.0f);
    ASSERT_FALSE(platform.boxes.empty());
    EXPECT_EQ(platform.boxes.back().text, "file open error");

    platform.dialogAnswers = {std::nullopt}; // cancelled: nothing happens
    clickMenu(8);
    EXPECT_EQ(state.pointUsed[0], 1);
}

TEST_F(FileCommandTest, LoadBlockOpensTheBlockDialogAndLoadsTheChosenFile) {
    clickMenu(6); // cancelled
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_FALSE(platform.dialogs[0].save);
    EXPECT_EQ(platform.dialogs[0].title, "load block");
    EXPECT_EQ(platform.dialogs[0].filter.description, "block data version 1 (bd1)");
    EXPECT_EQ(platform.dialogs[0].filter.pattern, "*.bd1");
    EXPECT_EQ(state.menuMode, 0);

    // Ten empty texture names and one block.
    std::string bytes(10 * 31, '\0');
    bytes += std::string("\x01\x00", 2);
    std::string block(316, '\0');
    block[312] = 1; // inUse
    bytes += block;
    const auto path = dir / "map.bd1";
    std::ofstream(path, std::ios::binary) << bytes;
    platform.dialogAnswers = {path.string()};
    clickMenu(6);
    EXPECT_EQ(state.menuMode, 0);
    EXPECT_NE(state.blocks[0].inUse, 0);
    EXPECT_EQ(state.blocks[1].inUse, 0);
    EXPECT_EQ(std::string(state.blockDir), dir.string());
}

} // namespace
} // namespace tavo::testing
