// The wheel zooms the 2D panes about the pointer and flies the camera.

#include <cmath>
#include <tuple>

#include <gtest/gtest.h>

#include "pointeditor/data/pane_layout.h"
#include "pointeditor/data/pane_projection.h"
#include "pointeditor/edit/tests/editor_driver.h"

namespace tavo::testing {
namespace {

class WheelTest : public ::testing::Test, public Editor {};

TEST_F(WheelTest, OverA2DPaneTheWorldPointUnderThePointerStaysThere) {
    // name, pointer, pane, zoom, pan, notches, zoom after
    const std::tuple<const char*, int, int, int, float, V3, int, float> cases[] = {
        {"top, one in", 200, 100, TopPane, 2, {0, 0, 0}, 1, 2.1f},
        {"top, three out", 20, 290, TopPane, 1.7f, {12.5f, -3, 40}, -3, 1.4f},
        {"front, two in", 270, 330, FrontPane, 0.3f, {-8, 22.25f, 5}, 2, 0.5f},
        {"side, one out", 310, 590, SidePane, 4, {3, -9, -17.5f}, -1, 3.9f},
        {"side, stops at the most", 570, 320, SidePane, 9.95f, {0, 0, 0}, 2, 10},
        {"top, stops at the least", 150, 165, TopPane, 0.15f, {1, 2, 3}, -4, 0.1f},
        {"top, rounded to a tenth", 100, 60, TopPane, 2.26f, {1, 2, 3}, 1, 2.4f},
    };
    for (const auto& [name, x, y, pane, zoom, panAt, notches, zoomAfter] : cases) {
        SCOPED_TRACE(name);
        setZoom(state, zoom);
        state.panX = panAt[0], state.panY = panAt[1], state.panZ = panAt[2];
        const V3 under = (moveTo(x, y), cursor());
        edits.wheel(notches, false);
        EXPECT_EQ(state.zoom, zoomAfter) << "the zoom";
        const PanePixel at = mapToPane(state, pane, under[0], under[1], under[2]);
        const float pointerX = float(x - paneOrigin(pane).left);
        const float pointerY = float(y - paneOrigin(pane).top);
        EXPECT_LE(std::fabs(at.x - pointerX), 0.5f) << "across: " << at.x << " for " << pointerX;
        EXPECT_LE(std::fabs(at.y - pointerY), 0.5f) << "down: " << at.y << " for " << pointerY;
    }
}

TEST_F(WheelTest, OverThe3DPaneTheCameraFliesFourUnitsANotchAlongItsDirection) {
    state.cameraX = 1, state.cameraY = 2, state.cameraZ = 3;
    state.cameraYaw = 0.6f, state.cameraPitch = 1.2f;
    const Vector3 ahead = cameraDirection(state);
    moveTo(440, 165);
    const float zoom = state.zoom;
    edits.wheel(2, false);
    EXPECT_NEAR(state.cameraX, 1 + 8 * ahead.x, 1e-4f) << "two notches ahead, x";
    EXPECT_NEAR(state.cameraY, 2 + 8 * ahead.y, 1e-4f) << "two notches ahead, y";
    EXPECT_NEAR(state.cameraZ, 3 + 8 * ahead.z, 1e-4f) << "two notches ahead, z";
    EXPECT_EQ(state.zoom, zoom) << "the 2D panes keep their zoom";
    edits.wheel(-3, false);
    const float back = 3 - 4 * ahead.z;
    EXPECT_NEAR(state.cameraZ, back, 1e-4f) << "three notches back";
    EXPECT_NEAR(state.cursorZ, 2 * back + 40 * ahead.z, 1e-3f) << "the 3D cursor follows";
    moveTo(700, 300);
    edits.wheel(5, false);
    EXPECT_EQ(state.zoom, zoom) << "over the text column, the zoom";
    EXPECT_NEAR(state.cameraZ, back, 1e-4f) << "over the text column, the camera";
}

} // namespace
} // namespace tavo::testing
