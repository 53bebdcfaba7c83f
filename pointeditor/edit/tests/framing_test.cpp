// Home and the framing it shares with the find: the panes and the camera go to the points.

#include <cmath>

#include <gtest/gtest.h>

#include "pointeditor/data/pane_projection.h"
#include "pointeditor/edit/framing.h"
#include "pointeditor/edit/tests/editor_driver.h"
#include "pointeditor/edit/virtual_keys.h"

namespace tavo::testing {
namespace {

class FramingTest : public ::testing::Test, public Editor {
protected:
    // The camera in world units and the distance from it to `at` along and off its direction.
    std::pair<float, float> cameraTo(V3 at) const {
        const Vector3 d = cameraDirection(state);
        const float to[3] = {at[0] - 2 * state.cameraX, at[1] - 2 * state.cameraY,
                             at[2] - 2 * state.cameraZ};
        const float along = to[0] * d.x + to[1] * d.y + to[2] * d.z;
        const float off = std::sqrt(
            std::max(0.0f, to[0] * to[0] + to[1] * to[1] + to[2] * to[2] - along * along));
        return {along, off};
    }
};

TEST_F(FramingTest, OnePointIsCentredInEveryPaneAtTheSameZoomAndSeenFromNearby) {
    put({{3, 1, 30, -8, 12}});
    setZoom(state, 3);
    press(vk::Home);
    EXPECT_EQ(pan(), (V3{30, 8, -12})) << "the pan, y and z negated";
    EXPECT_EQ(state.zoom, 3.0f) << "nothing to fit: the zoom stays";
    const auto [along, off] = cameraTo({30, -8, 12});
    EXPECT_NEAR(along, 20.0f, 1e-3f) << "ten camera units ahead";
    EXPECT_NEAR(off, 0.0f, 1e-3f) << "straight ahead";
}

TEST_F(FramingTest, PointsFarApartAreZoomedOutToFitWithTheirMarginAndTheCameraOutside) {
    put({{0, 2, -100, 0, 0}, {1, 2, 152, 50, 20}, {2, 1, 900, 900, 900}});
    setZoom(state, 4);
    state.cameraYaw = 0.4f, state.cameraPitch = 2.0f;
    press(vk::Home);
    EXPECT_EQ(pan(), (V3{26, -25, -10})) << "the middle of the selected two";
    EXPECT_EQ(state.zoom, 0.9f) << "120 pixels for 126 units: 0.95, in whole tenths down";
    EXPECT_EQ(state.gridStep, 5.0f / 0.9f) << "the grid step follows";
    for (int slot : {0, 1}) {
        for (int pane : {TopPane, FrontPane, SidePane}) {
            const auto at = mapToPane(state, pane, pts[slot].x, pts[slot].y, pts[slot].z);
            EXPECT_GE(std::min(at.x, at.y), 20.0f) << "slot " << slot << " pane " << pane;
            EXPECT_LE(std::max(at.x, at.y), 260.0f) << "slot " << slot << " pane " << pane;
        }
    }
    const auto [along, off] = cameraTo({26, 25, 10});
    EXPECT_NEAR(along, 240.0f, 1e-2f) << "at most 120 camera units away, within the depth";
    EXPECT_LT(off, 0.5f) << "looking at the centre";
}

TEST_F(FramingTest, WithNothingSelectedEveryPointWithNoPointsNothingMoves) {
    setZoom(state, 2);
    press(vk::Home);
    EXPECT_EQ(pan(), (V3{0, 0, 0})) << "no points: the pan stays";
    EXPECT_EQ(state.cameraX, 50.0f) << "no points: the camera stays";
    put({{0, 1, -40, 10, 6}, {4, 1, 40, 30, 2}});
    press(vk::Home);
    EXPECT_EQ(pan(), (V3{0, -20, -4})) << "the middle of both";
    EXPECT_EQ(state.zoom, 2.0f) << "120 pixels hold 60 units at 2";
    // A sphere of radius 41.28 just fills the 70 degree view from 71.97 away; 15 % more.
    const auto [along, off] = cameraTo({0, 20, 4});
    EXPECT_NEAR(along, 82.76f, 2e-2f) << "the camera's distance";
    EXPECT_LT(off, 1e-2f) << "looking at the centre";
    put({{5, 1, 5000, 0, 0}});
    press(vk::Home);
    EXPECT_EQ(state.zoom, 0.1f) << "points 5000 apart: the least zoom";
}

} // namespace
} // namespace tavo::testing
