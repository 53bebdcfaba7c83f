#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "pointeditor/edit/tests/edit_fixture.h"
#include "pointeditor/edit/zoom.h"

namespace tavo::testing {
namespace {

constexpr float kDegree = 0.017453289f;
using MouseTest = EditorTest;

TEST_F(MouseTest, PaneEdgesBelongToThePaneAndTheGapsToNone) {
    const int cases[][3] = {{10, 25, 1},   {290, 305, 1}, {291, 305, 0}, {290, 306, 0},
                            {150, 310, 0}, {150, 315, 2}, {290, 595, 2}, {299, 455, 0},
                            {300, 315, 3}, {580, 595, 3}, {581, 455, 0}, {300, 25, 4},
                            {295, 165, 0}, {580, 305, 4}, {440, 310, 0}};
    for (auto [x, y, pane] : cases) {
        state.cursorX = state.cursorZ = 99.0f;
        moveTo(x, y);
        EXPECT_EQ(state.hoverView, pane) << x << "," << y;
        if (pane == 0) {
            EXPECT_TRUE(state.cursorX == 0.0f && state.cursorZ == 0.0f);
        }
    }
}

TEST_F(MouseTest, CursorIsTheInverseOfWherePanesDrawAPoint) {
    const int panes[][3] = {{1, 10, 25}, {2, 10, 315}, {3, 300, 315}}; // number, left, top
    const float pans[][3] = {{0, 0, 0}, {12.5f, -7.25f, 3.0f}, {-40.0f, 18.0f, -33.5f}};
    const int offsets[][2] = {{0, 0}, {140, 140}, {280, 280}, {17, 203}, {251, 9}};
    for (auto [pane, left, top] : panes) {
        for (float zoom : {0.1f, 2.0f, 3.7f, 10.0f}) {
            for (const auto& pan : pans) {
                state.zoom = zoom;
                state.panX = pan[0], state.panY = pan[1], state.panZ = pan[2];
                for (auto [px, py] : offsets) {
                    moveTo(left + px, top + py);
                    const EditorState& s = state;
                    float x = s.cursorX, y = s.cursorY, z = s.cursorZ;
                    // The panes' own mapping of world to pane pixels, and their fixed axis.
                    float drawnX =
                        pane == 3 ? (z + s.panZ) * s.zoom + 140 : (x - s.panX) * s.zoom + 140;
                    float drawnY =
                        pane == 1 ? (-z - s.panZ) * s.zoom + 140 : (-y - s.panY) * s.zoom + 140;
                    float fixed = pane == 1 ? y + s.panY : pane == 2 ? z + s.panZ : x - s.panX;
                    EXPECT_NEAR(drawnX, px, 1e-3) << pane << " zoom " << zoom;
                    EXPECT_NEAR(drawnY, py, 1e-3) << pane << " zoom " << zoom;
                    EXPECT_EQ(fixed, 0.0f) << pane;
                }
            }
        }
    }
    state.cameraYaw = 0.0f; // the 3D pane points 40 units ahead of the camera
    state.cameraPitch = 1.5707964f;
    moveTo(350, 100);
    EXPECT_NEAR(state.cursorX, 140.0f, 1e-4);
    EXPECT_NEAR(state.cursorY, 100.0f, 1e-4);
    EXPECT_NEAR(state.cursorZ, -100.0f, 1e-4);
}

TEST_F(MouseTest, ViewDragInAnOrthoPaneKeepsTheGrabbedPointUnderTheMouse) {
    state.menuMode = 5;
    const int drags[][4] = {{150, 165, 160, 165}, {120, 200, 170, 150}, {150, 455, 131, 470},
                            {60, 400, 80, 380},   {440, 455, 460, 440}, {500, 500, 470, 520}};
    for (float zoom : {2.0f, 0.5f, 7.0f}) {
        for (auto [fromX, fromY, toX, toY] : drags) {
            state.zoom = zoom;
            moveTo(fromX, fromY);
            float x = state.cursorX, y = state.cursorY, z = state.cursorZ;
            moveTo(toX, toY, kLeft);
            updateCursor(state); // the world under the mouse with the new pan
            EXPECT_NEAR(state.cursorX, x, 1e-3) << fromX << "," << fromY << " zoom " << zoom;
            EXPECT_NEAR(state.cursorY, y, 1e-3) << fromX << "," << fromY << " zoom " << zoom;
            EXPECT_NEAR(state.cursorZ, z, 1e-3) << fromX << "," << fromY << " zoom " << zoom;
        }
    }
    state.panX = state.panY = state.panZ = 0.0f;
    state.zoom = 2.0f;
    moveTo(150, 165);
    moveTo(160, 165, kLeft); // 10 pixels right at zoom 2: the view moves 5 units left
    EXPECT_EQ(state.panX, -5.0f);
    state.menuMode = 2; // other modes do not pan
    moveTo(190, 120, kLeft);
    EXPECT_EQ(state.panX, -5.0f);
}

TEST_F(MouseTest, TurningStepsTwoDegreesPerPixelClampsThePitchAndRecentres) {
    state.menuMode = 5;
    moveTo(440, 165);
    const float yaw = state.cameraYaw, pitch = state.cameraPitch;
    moveTo(441, 166, kLeft); // right turns left, down tilts down
    EXPECT_FLOAT_EQ(state.cameraYaw, yaw - 2 * kDegree);
    EXPECT_FLOAT_EQ(state.cameraPitch, pitch + 2 * kDegree);
    EXPECT_EQ(platform.warps, (std::vector<std::pair<int, int>>{{440, 165}}));
    EXPECT_TRUE(state.mouseX == 440 && state.mouseY == 165);
    for (int i = 0; i < 30; ++i) {
        moveTo(440, 305, kLeft);
    }
    EXPECT_EQ(state.cameraPitch, 3.1241386f);
    for (int i = 0; i < 30; ++i) {
        moveTo(440, 25, kLeft);
    }
    EXPECT_EQ(state.cameraPitch, 0.017453289f);
    EXPECT_FLOAT_EQ(state.cameraYaw, yaw - 2 * kDegree);
}

TEST_F(MouseTest, FlyingFollowsTheViewSidewaysIsLevelAndRisingIsStraightUp) {
    state.menuMode = 5;
    state.cameraYaw = 0.5f;
    state.cameraPitch = 1.2f;
    const float a = 0.5f + 1.570796f;
    moveTo(440, 165);
    moveTo(437, 160, kRight); // five pixels up, three left
    EXPECT_NEAR(state.cameraX, 50 + 5 * std::cos(0.5f) * std::sin(1.2f) + 3 * std::cos(a), 1e-4);
    EXPECT_NEAR(state.cameraY, 50 + 5 * std::cos(1.2f), 1e-4);
    EXPECT_NEAR(state.cameraZ, -50 + 5 * std::sin(0.5f) * std::sin(1.2f) + 3 * std::sin(a), 1e-4);
    const float x = state.cameraX, y = state.cameraY, z = state.cameraZ;
    moveTo(442, 161, kLeft | kRight); // up four and right two
    EXPECT_EQ(state.cameraY, y + 4);
    EXPECT_NEAR(state.cameraX, x - 2 * std::cos(a), 1e-4);
    EXPECT_NEAR(state.cameraZ, z - 2 * std::sin(a), 1e-4);
    moveTo(150, 165);
    moveTo(140, 165, kLeft | kRight); // both buttons over a 2D pane do nothing
    EXPECT_TRUE(state.panX == 0.0f && state.zoom == 2.0f && state.cameraY == y + 4);
}

TEST_F(MouseTest, ZoomStepsByTenthsWithinItsLimitsAndCarriesTheGridStep) {
    state.menuMode = 5;
    const int steps[][2] = {{197, 23}, {198, 22}, {108, 100}, {107, 100}, {373, 1}, {372, 2}};
    moveTo(440, 200); // a drag over the 3D pane flies instead
    moveTo(150, 200);
    for (auto [y, tenths] : steps) {
        moveTo(150, y, kRight);
        EXPECT_EQ(state.zoom, tenths / 10.0f) << y;
        EXPECT_EQ(state.gridStep, 5.0f / state.zoom) << y;
    }
}

TEST(ZoomRounding, AgreesWithFormattingAndParsingBack) {
    for (int i = -20; i <= 1100; ++i) {
        for (float value : {i * 0.01f, i * 0.05f + 0.001f, i * 0.05f - 0.001f}) {
            char text[32];
            std::snprintf(text, sizeof text, "%.1f", static_cast<double>(value));
            EXPECT_EQ(roundToTenth(value), static_cast<float>(std::strtod(text, nullptr)));
        }
    }
    const float halves[][2] = {{2.5f, 3}, {-2.5f, -3}, {2.49f, 2}, {-2.49f, -2}, {3e9f, 3e9f}};
    for (auto [value, rounded] : halves) {
        EXPECT_EQ(roundHalfAway(value), rounded) << value;
    }
}

TEST_F(MouseTest, MovingDragsOnlyTheSelectionAlongThePanesTwoAxes) {
    state.menuMode = 3;
    putPoint(0, 1, 2, 3, 2);
    putPoint(1, 4, 5, 6, 1);
    auto expectAt = [&](float x, float y, float z) {
        EXPECT_FLOAT_EQ(state.points[0].x, x);
        EXPECT_FLOAT_EQ(state.points[0].y, y);
        EXPECT_FLOAT_EQ(state.points[0].z, z);
    };
    moveTo(150, 165);
    moveTo(170, 155, kLeft); // top pane at zoom 2: +10 in x, +5 in z
    expectAt(11, 2, 8);
    moveTo(150, 455);
    moveTo(150, 445, kLeft); // front pane: +5 in y
    expectAt(11, 7, 8);
    moveTo(440, 455);
    moveTo(450, 455, kLeft); // side pane: +5 in z
    expectAt(11, 7, 13);
    moveTo(150, 300, kLeft); // into the top pane, out of every pane, in the 3D pane
    moveTo(150, 310, kLeft);
    moveTo(440, 165, kLeft);
    moveTo(450, 170, kLeft);
    expectAt(11, 7, 13);
    EXPECT_TRUE(state.points[1].x == 4 && state.points[1].y == 5 && state.points[1].z == 6);
}

TEST_F(MouseTest, ReleasingSnapsToTheGridOnlyAfterAMoveWithinOnePane) {
    state.menuMode = 3;
    putPoint(0, 3.74f, 1.3f, -3.75f, 2);
    putPoint(1, 3.75f, 1.2f, 0, 2);
    putPoint(2, 3.74f, 0, 0, 1);
    moveTo(150, 165);
    moveTo(151, 166);
    onLeftUp(state);
    EXPECT_TRUE(state.points[0].x == 2.5f && state.points[0].y == 2.5f &&
                state.points[0].z == -5.0f);
    EXPECT_TRUE(state.points[1].x == 5.0f && state.points[1].y == 0.0f);
    EXPECT_EQ(state.points[2].x, 3.74f);
    state.points[0].x = 3.74f;
    moveTo(150, 310); // left the pane
    onLeftUp(state);
    moveTo(150, 300); // crossed into another pane
    onLeftUp(state);
    state.gridLock = 0;
    moveTo(150, 301);
    onLeftUp(state);
    EXPECT_EQ(state.points[0].x, 3.74f);

    state.gridLock = 1; // VIEW snaps the pan, the 3D pane included
    state.menuMode = 5;
    state.panX = 3.75f, state.panY = -1.3f, state.panZ = 6.3f;
    moveTo(440, 165);
    onLeftUp(state);
    EXPECT_TRUE(state.panX == 5.0f && state.panY == -2.5f && state.panZ == 7.5f);
}

TEST_F(MouseTest, RightClickNarrowsTheSelectionToTheBegunBox) {
    state.menuMode = 2;
    putPoint(0, 0, 50, 0, 2);   // inside, whatever its height
    putPoint(1, 10, 0, -10, 2); // on the corner
    putPoint(2, 11, 0, 0, 2);   // outside
    putPoint(3, 5, 0, 5, 1);    // inside but not selected
    moveTo(130, 145);           // top pane: world (-10, 0, 10)
    state.boxView = 1;
    state.boxStartX = state.cursorX, state.boxStartZ = state.cursorZ;
    moveTo(170, 185); // world (10, 0, -10)
    onRightDown(state);
    EXPECT_EQ(slots(4), (std::vector<int>{2, 2, 1, 1})); // no transient mark left
    EXPECT_TRUE(state.boxView == 0 && state.menuMode == 2);
}

TEST_F(MouseTest, RightClickSwitchesBetweenSelectingAndMoving) {
    putPoint(0, 0, 0, 0, 2);
    state.menuMode = 2;
    moveTo(700, 300);
    onRightDown(state); // no box, no pane: nothing
    EXPECT_EQ(state.menuMode, 2);
    state.boxView = 1; // begun in the top pane, clicked in the front pane
    moveTo(150, 455);
    onRightDown(state);
    EXPECT_TRUE(state.menuMode == 3 && state.boxView == 0 && state.pointUsed[0] == 2);
    onRightDown(state);
    EXPECT_EQ(state.menuMode, 2);
    state.menuMode = 5;
    onRightDown(state);
    onRightUp(state);
    EXPECT_EQ(state.menuMode, 5);
}

} // namespace
} // namespace tavo::testing
