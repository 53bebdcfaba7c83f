#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "pointeditor/edit/mouse.h"
#include "pointeditor/edit/tests/edit_fixture.h"
#include "pointeditor/edit/zoom.h"

namespace tavo::testing {
namespace {

constexpr float kDegree = 0.017453289f;

using MouseTest = EditorTest;

TEST_F(MouseTest, PaneEdgesBelongToThePaneAndTheGapsToNone) {
    struct Case {
        int x, y, pane;
    };
    const Case cases[] = {
        {10, 25, 1},   {290, 305, 1}, {291, 305, 0}, {290, 306, 0}, {9, 165, 0},
        {150, 24, 0},  {150, 315, 2}, {150, 310, 0}, {290, 595, 2}, {150, 596, 0},
        {300, 315, 3}, {299, 455, 0}, {580, 595, 3}, {581, 455, 0}, {300, 25, 4},
        {580, 305, 4}, {295, 165, 0}, {440, 310, 0}, {700, 300, 0},
    };
    for (const Case& c : cases) {
        state.cursorX = state.cursorY = state.cursorZ = 99.0f;
        moveTo(c.x, c.y);
        EXPECT_EQ(state.hoverView, c.pane) << c.x << "," << c.y;
        if (c.pane == 0) {
            EXPECT_EQ(state.cursorX, 0.0f);
            EXPECT_EQ(state.cursorY, 0.0f);
            EXPECT_EQ(state.cursorZ, 0.0f);
        }
    }
}

// Where the panes draw a world point, relative to the pane's top-left pixel.
struct PanePixel {
    float x, y;
};
PanePixel drawnAt(const EditorState& s, int pane, float x, float y, float z) {
    switch (pane) {
    case 1:
        return {(x - s.panX) * s.zoom + 140, (-z - s.panZ) * s.zoom + 140};
    case 2:
        return {(x - s.panX) * s.zoom + 140, (-y - s.panY) * s.zoom + 140};
    default:
        return {(z + s.panZ) * s.zoom + 140, (-y - s.panY) * s.zoom + 140};
    }
}

TEST_F(MouseTest, CursorMapsBackToThePixelUnderTheMouse) {
    struct Pane {
        int number, left, top;
    };
    const Pane panes[] = {{1, 10, 25}, {2, 10, 315}, {3, 300, 315}};
    const float zooms[] = {0.1f, 1.0f, 2.0f, 3.7f, 10.0f};
    const float pans[][3] = {{0, 0, 0}, {12.5f, -7.25f, 3.0f}, {-40.0f, 18.0f, -33.5f}};
    const int offsets[][2] = {{0, 0}, {140, 140}, {280, 280}, {17, 203}, {251, 9}};
    for (const Pane& pane : panes) {
        for (float zoom : zooms) {
            for (const auto& pan : pans) {
                state.zoom = zoom;
                state.panX = pan[0];
                state.panY = pan[1];
                state.panZ = pan[2];
                for (const auto& offset : offsets) {
                    moveTo(pane.left + offset[0], pane.top + offset[1]);
                    ASSERT_EQ(state.hoverView, pane.number);
                    PanePixel p =
                        drawnAt(state, pane.number, state.cursorX, state.cursorY, state.cursorZ);
                    EXPECT_NEAR(p.x, offset[0], 1e-3) << pane.number << " zoom " << zoom;
                    EXPECT_NEAR(p.y, offset[1], 1e-3) << pane.number << " zoom " << zoom;
                    // The axis the pane does not show is the one its centre shows.
                    if (pane.number == 1) {
                        EXPECT_EQ(state.cursorY, -state.panY);
                    } else if (pane.number == 2) {
                        EXPECT_EQ(state.cursorZ, -state.panZ);
                    } else {
                        EXPECT_EQ(state.cursorX, state.panX);
                    }
                }
            }
        }
    }
}

TEST_F(MouseTest, PerspectiveCursorLiesFortyUnitsAheadOfTheCamera) {
    state.cameraYaw = 0.0f;
    state.cameraPitch = 1.5707964f;
    moveTo(350, 100);
    EXPECT_EQ(state.hoverView, 4);
    EXPECT_NEAR(state.cursorX, 140.0f, 1e-4);
    EXPECT_NEAR(state.cursorY, 100.0f, 1e-4);
    EXPECT_NEAR(state.cursorZ, -100.0f, 1e-4);
}

TEST_F(MouseTest, ViewDragInAnOrthoPaneKeepsTheGrabbedWorldPointUnderTheMouse) {
    state.menuMode = 5;
    struct Drag {
        int fromX, fromY, toX, toY;
    };
    const Drag drags[] = {{150, 165, 160, 165}, {120, 200, 170, 150},  // top
                          {150, 455, 131, 470}, {60, 400, 80, 380},    // front
                          {440, 455, 460, 440}, {500, 500, 470, 520}}; // side
    for (float zoom : {2.0f, 0.5f, 7.0f}) {
        for (const Drag& d : drags) {
            state.zoom = zoom;
            moveTo(d.fromX, d.fromY);
            float x = state.cursorX, y = state.cursorY, z = state.cursorZ;
            moveTo(d.toX, d.toY, kLeft);
            updateCursor(state); // the world under the mouse with the new pan
            EXPECT_NEAR(state.cursorX, x, 1e-3) << d.fromX << "," << d.fromY << " zoom " << zoom;
            EXPECT_NEAR(state.cursorY, y, 1e-3) << d.fromX << "," << d.fromY << " zoom " << zoom;
            EXPECT_NEAR(state.cursorZ, z, 1e-3) << d.fromX << "," << d.fromY << " zoom " << zoom;
        }
    }
    // Ten pixels to the right at zoom 2 in the top pane: the view moves 5 units left.
    state = EditorState{};
    state.window = &platform;
    state.menuMode = 5;
    moveTo(150, 165);
    moveTo(160, 165, kLeft);
    EXPECT_FLOAT_EQ(state.panX, -5.0f);
    EXPECT_EQ(state.panY, 0.0f);
    EXPECT_EQ(state.panZ, 0.0f);
}

TEST_F(MouseTest, DragsOutsideViewModeOrEveryPaneLeaveTheViewAlone) {
    const float panX = state.panX, panZ = state.panZ, zoom = state.zoom;
    const float cameraX = state.cameraX, cameraYaw = state.cameraYaw;
    for (int mode : {0, 1, 2, 4}) {
        state.menuMode = mode;
        moveTo(150, 165);
        moveTo(170, 140, kLeft);
        moveTo(190, 120, kRight);
        moveTo(440, 165);
        moveTo(450, 170, kLeft | kRight);
    }
    state.menuMode = 5;
    moveTo(700, 300);
    moveTo(710, 250, kLeft);
    moveTo(720, 200, kRight);
    EXPECT_EQ(state.panX, panX);
    EXPECT_EQ(state.panZ, panZ);
    EXPECT_EQ(state.zoom, zoom);
    EXPECT_EQ(state.cameraX, cameraX);
    EXPECT_EQ(state.cameraYaw, cameraYaw);
    EXPECT_TRUE(platform.warps.empty());
}

TEST_F(MouseTest, TurningTheCameraStepsTwoDegreesPerPixelAndClampsThePitch) {
    state.menuMode = 5;
    moveTo(440, 165);
    const float yaw = state.cameraYaw;
    const float pitch = state.cameraPitch;
    moveTo(441, 165, kLeft);
    EXPECT_FLOAT_EQ(state.cameraYaw, yaw - 2 * kDegree);
    EXPECT_EQ(state.cameraPitch, pitch);
    ASSERT_EQ(platform.warps.size(), 1u);
    EXPECT_EQ(platform.warps.back(), std::make_pair(440, 165));
    EXPECT_EQ(state.mouseX, 440);
    EXPECT_EQ(state.mouseY, 165);

    moveTo(440, 166, kLeft); // down tilts the view down
    EXPECT_FLOAT_EQ(state.cameraPitch, pitch + 2 * kDegree);

    for (int i = 0; i < 30; ++i) {
        moveTo(440, 305, kLeft);
    }
    EXPECT_EQ(state.cameraPitch, 3.1241386f);
    for (int i = 0; i < 30; ++i) {
        moveTo(440, 25, kLeft);
    }
    EXPECT_EQ(state.cameraPitch, 0.017453289f);
    EXPECT_FLOAT_EQ(state.cameraYaw, yaw - 2 * kDegree); // yaw untouched by vertical drags
}

TEST_F(MouseTest, FlyingMovesAlongTheViewAndRisingMovesStraightUp) {
    state.menuMode = 5;
    state.cameraYaw = 0.5f;
    state.cameraPitch = 1.2f;
    moveTo(440, 165);
    moveTo(440, 160, kRight); // five pixels up: five units along the view direction
    EXPECT_NEAR(state.cameraX, 50.0f + 5 * std::cos(0.5f) * std::sin(1.2f), 1e-4);
    EXPECT_NEAR(state.cameraY, 50.0f + 5 * std::cos(1.2f), 1e-4);
    EXPECT_NEAR(state.cameraZ, -50.0f + 5 * std::sin(0.5f) * std::sin(1.2f), 1e-4);

    struct Camera {
        float x, y, z;
    };
    Camera flown{state.cameraX, state.cameraY, state.cameraZ};
    moveTo(437, 165, kRight); // three pixels left: sideways, level
    const float a = 0.5f + 1.570796f;
    EXPECT_NEAR(state.cameraX, flown.x + 3 * std::cos(a), 1e-4);
    EXPECT_EQ(state.cameraY, flown.y);
    EXPECT_NEAR(state.cameraZ, flown.z + 3 * std::sin(a), 1e-4);

    flown = {state.cameraX, state.cameraY, state.cameraZ};
    moveTo(442, 161, kLeft | kRight); // up four and right two
    EXPECT_EQ(state.cameraY, flown.y + 4);
    EXPECT_NEAR(state.cameraX, flown.x - 2 * std::cos(a), 1e-4);
    EXPECT_NEAR(state.cameraZ, flown.z - 2 * std::sin(a), 1e-4);
    EXPECT_EQ(state.mouseX, 440);
    EXPECT_EQ(state.mouseY, 165);

    moveTo(150, 165);
    moveTo(140, 165, kLeft | kRight); // both buttons over a 2D pane do nothing
    EXPECT_EQ(state.panX, 0.0f);
    EXPECT_EQ(state.zoom, 2.0f);
}

TEST_F(MouseTest, ZoomStepsByTenthsWithinItsLimitsAndCarriesTheGridStep) {
    state.menuMode = 5;
    moveTo(150, 200);
    moveTo(150, 197, kRight);
    EXPECT_EQ(state.zoom, 2.3f);
    EXPECT_EQ(state.gridStep, 5.0f / 2.3f);
    moveTo(440, 420); // side pane: the same shared zoom
    moveTo(440, 421, kRight);
    EXPECT_EQ(state.zoom, 2.2f);
    moveTo(440, 330, kRight);
    EXPECT_EQ(state.zoom, 10.0f);
    EXPECT_EQ(state.gridStep, 0.5f);
    moveTo(440, 329, kRight);
    EXPECT_EQ(state.zoom, 10.0f);
    moveTo(440, 595, kRight);
    EXPECT_EQ(state.zoom, 0.1f);
    EXPECT_EQ(state.gridStep, 50.0f);
    moveTo(440, 594, kRight); // one pixel up from the bottom limit: 0.2
    EXPECT_EQ(state.zoom, 0.2f);
}

TEST(ZoomRounding, AgreesWithFormattingAndParsingBack) {
    for (int i = -20; i <= 1100; ++i) {
        for (float value : {i * 0.01f, i * 0.05f + 0.001f, i * 0.05f - 0.001f}) {
            char text[32];
            std::snprintf(text, sizeof text, "%.1f", static_cast<double>(value));
            EXPECT_EQ(roundToTenth(value), static_cast<float>(std::strtod(text, nullptr))) << value;
        }
    }
}

TEST(RoundHalfAway, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(roundHalfAway(2.5f), 3.0f);
    EXPECT_EQ(roundHalfAway(-2.5f), -3.0f);
    EXPECT_EQ(roundHalfAway(2.49f), 2.0f);
    EXPECT_EQ(roundHalfAway(-2.49f), -2.0f);
    EXPECT_EQ(roundHalfAway(0.0f), 0.0f);
    EXPECT_EQ(roundHalfAway(7.0f), 7.0f);
    EXPECT_EQ(roundHalfAway(3e9f), 3e9f); // beyond int32: no overflow
    EXPECT_EQ(roundHalfAway(-3e9f), -3e9f);
}

TEST_F(MouseTest, MovingDragsOnlyTheSelectionAlongThePanesTwoAxes) {
    state.menuMode = 3;
    putPoint(0, 1, 2, 3, 2);
    putPoint(1, 4, 5, 6, 1);
    putPoint(2, 7, 8, 9, 2);
    moveTo(150, 165);
    moveTo(170, 155, kLeft); // top pane at zoom 2: +10 in x, +5 in z
    EXPECT_FLOAT_EQ(state.points[0].x, 11.0f);
    EXPECT_FLOAT_EQ(state.points[0].y, 2.0f);
    EXPECT_FLOAT_EQ(state.points[0].z, 8.0f);
    EXPECT_FLOAT_EQ(state.points[2].x, 17.0f);
    EXPECT_EQ(state.points[1].x, 4.0f);
    EXPECT_EQ(state.points[1].z, 6.0f);

    moveTo(150, 455);
    moveTo(150, 445, kLeft); // front pane: +5 in y only
    EXPECT_FLOAT_EQ(state.points[0].x, 11.0f);
    EXPECT_FLOAT_EQ(state.points[0].y, 7.0f);
    EXPECT_FLOAT_EQ(state.points[0].z, 8.0f);

    moveTo(440, 455);
    moveTo(450, 455, kLeft); // side pane: +5 in z only
    EXPECT_FLOAT_EQ(state.points[0].x, 11.0f);
    EXPECT_FLOAT_EQ(state.points[0].z, 13.0f);

    const PointRecord before = state.points[0];
    moveTo(150, 300, kLeft); // from the side pane into the top pane
    moveTo(150, 310, kLeft); // out of every pane
    moveTo(440, 165, kLeft); // into the 3D pane
    moveTo(450, 170, kLeft);
    EXPECT_EQ(state.points[0].x, before.x);
    EXPECT_EQ(state.points[0].y, before.y);
    EXPECT_EQ(state.points[0].z, before.z);
}

TEST_F(MouseTest, ReleasingSnapsTheSelectionToTheGridWhenTheMoveStayedInOnePane) {
    state.menuMode = 3;
    putPoint(0, 3.74f, 0.0f, -3.75f, 2);
    putPoint(1, 3.75f, 1.3f, 1.2f, 2);
    putPoint(2, 3.74f, 1.2f, 1.3f, 1);
    moveTo(150, 165);
    moveTo(151, 166);
    onLeftUp(state);
    EXPECT_EQ(state.points[0].x, 2.5f);
    EXPECT_EQ(state.points[0].z, -5.0f);
    EXPECT_EQ(state.points[1].x, 5.0f);
    EXPECT_EQ(state.points[1].y, 2.5f);
    EXPECT_EQ(state.points[1].z, 0.0f);
    EXPECT_EQ(state.points[2].x, 3.74f);

    putPoint(0, 3.74f, 0.0f, 0.0f, 2);
    moveTo(150, 310); // the last move left the pane
    onLeftUp(state);
    moveTo(150, 300); // the last move crossed into another pane
    onLeftUp(state);
    EXPECT_EQ(state.points[0].x, 3.74f);

    state.gridLock = 0;
    moveTo(150, 301);
    onLeftUp(state);
    EXPECT_EQ(state.points[0].x, 3.74f);
}

TEST_F(MouseTest, ReleasingInViewModeSnapsThePanInAnyPane) {
    state.menuMode = 5;
    state.panX = 3.75f;
    state.panY = -1.3f;
    state.panZ = 6.3f;
    moveTo(700, 300);
    onLeftUp(state); // over no pane: nothing
    EXPECT_EQ(state.panX, 3.75f);
    moveTo(440, 165);
    onLeftUp(state);
    EXPECT_EQ(state.panX, 5.0f);
    EXPECT_EQ(state.panY, -2.5f);
    EXPECT_EQ(state.panZ, 7.5f);
}

TEST_F(MouseTest, RightClickNarrowsTheSelectionToTheBegunBox) {
    state.menuMode = 2;
    putPoint(0, 0, 50, 0, 2);   // inside (y is not looked at in the top pane)
    putPoint(1, 10, 0, -10, 2); // on the corner: inside
    putPoint(2, 11, 0, 0, 2);   // outside
    putPoint(3, 5, 0, 5, 1);    // inside but not selected: untouched
    putPoint(4, 30, 0, 30, 1);  // outside, not selected
    moveTo(130, 145);           // top pane: world (-10, 0, 10)
    state.boxView = 1;
    state.boxStartX = state.cursorX;
    state.boxStartY = state.cursorY;
    state.boxStartZ = state.cursorZ;
    moveTo(170, 185); // world (10, 0, -10)
    onRightDown(state);
    EXPECT_EQ(state.pointUsed[0], 2);
    EXPECT_EQ(state.pointUsed[1], 2);
    EXPECT_EQ(state.pointUsed[2], 1);
    EXPECT_EQ(state.pointUsed[3], 1);
    EXPECT_EQ(state.pointUsed[4], 1);
    EXPECT_EQ(state.boxView, 0);
    EXPECT_EQ(state.menuMode, 2);
    for (int used : state.pointUsed) {
        EXPECT_LE(used, 2); // the transient mark never outlives the click
    }
}

TEST_F(MouseTest, RightClickSwitchesBetweenSelectingAndMoving) {
    putPoint(0, 0, 0, 0, 2);
    state.menuMode = 2;
    moveTo(700, 300);
    onRightDown(state); // no box and over no pane: nothing
    EXPECT_EQ(state.menuMode, 2);

    state.boxView = 1; // begun in the top pane, clicked in the front pane
    moveTo(150, 455);
    onRightDown(state);
    EXPECT_EQ(state.menuMode, 3);
    EXPECT_EQ(state.boxView, 0);
    EXPECT_EQ(state.pointUsed[0], 2);

    onRightDown(state);
    EXPECT_EQ(state.menuMode, 2);
    onRightUp(state);
    EXPECT_EQ(state.menuMode, 2);

    state.menuMode = 5;
    onRightDown(state);
    EXPECT_EQ(state.menuMode, 5);
}

} // namespace
} // namespace tavo::testing
