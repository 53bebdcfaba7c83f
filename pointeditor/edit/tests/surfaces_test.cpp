#include <cmath>
#include <optional>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "pointeditor/edit/surfaces.h"
#include "pointeditor/edit/tests/editor_driver.h"
#include "pointeditor/edit/virtual_keys.h"
#include "tests/support/menu_marks.h"
#include "tests/support/scene_builders.h"

namespace tavo::testing {
namespace {

constexpr float Level = 1.5707964f;    // pitch: looking straight ahead
constexpr float Down = 3.1241386f;     // pitch: 1 degree short of straight down
constexpr float Up = 0.017453289f;     // pitch: 1 degree short of straight up
constexpr float HalfTurn = 3.1415927f; // yaw: looking along -x
constexpr double Tan35 = 0.7002075382; // half the 3D pane's field of view

struct Camera {
    float x, y, z, yaw, pitch; // world units: the fields hold half of these
};

class SurfacesTest : public ::testing::Test, public Editor {
protected:
    void aim(const Camera& c) {
        state.cameraX = c.x * 0.5f, state.cameraY = c.y * 0.5f, state.cameraZ = c.z * 0.5f;
        state.cameraYaw = c.yaw, state.cameraPitch = c.pitch;
    }
};

// Within a thousandth on each axis.
V3 rounded(V3 v) {
    for (float& f : v) {
        f = std::round(f * 1000) / 1000 + 0.0f;
    }
    return v;
}

// A wall hit right of and above the 3D pane's centre: a quarter and a tenth of the half field
// of view from 30 units away (looking along +x, right is -z).
const V3 OnWall = rounded({-10, float(4 + 0.1 * Tan35 * 30), float(-0.25 * Tan35 * 30)});

// A box 20 wide and 8 high around the origin, one behind it along +x, one not in use before it.
TEST_F(SurfacesTest, TheRayThroughAPixelMeetsTheFirstFaceBetweenTheNearAndFarPlanes) {
    state.blocks[3] = box(-10, 0, -10, 10, 8, 10);
    state.blocks[7] = box(20, 0, -10, 30, 8, 10);
    state.blocks[1] = box(-30, 0, -10, -20, 8, 10);
    state.blocks[1].inUse = 0;
    // name, camera, pane pixel, the face point met
    const std::tuple<const char*, Camera, std::pair<int, int>, std::optional<V3>> rows[] = {
        {"top face from above", {0, 40, 0, 0, Down}, {140, 140}, V3{0.559f, 8, 0}},
        {"wall, right of and above the centre", {-40, 4, 0, 0, Level}, {175, 126}, OnWall},
        {"wall, off the x axis", {-40, 4, 5, 0, Level}, {140, 140}, V3{-10, 4, 5}},
        {"the nearer box hides the farther", {60, 4, 0, HalfTurn, Level}, {140, 140}, V3{30, 4, 0}},
        {"a face seen from inside", {0, 4, 0, 0, Level}, {140, 140}, V3{10, 4, 0}},
        {"nearer than the near plane", {-10.5f, 4, 0, 0, Level}, {140, 140}, V3{10, 4, 0}},
        {"just inside the far plane", {-489, 4, 0, 0, Level}, {140, 140}, V3{-10, 4, 0}},
        {"beyond the far plane", {-491, 4, 0, 0, Level}, {140, 140}, std::nullopt},
        {"just over the wall", {-40, 4, 0, 0, Level}, {140, 100}, std::nullopt},
        {"looking up", {-40, 4, 0, 0, Up}, {140, 140}, std::nullopt},
        {"looking away", {-40, 4, 0, HalfTurn, Level}, {140, 140}, std::nullopt},
    };
    for (const auto& [name, camera, pixel, met] : rows) {
        aim(camera);
        const auto hit = faceUnderPanePixel(state, pixel.first, pixel.second);
        EXPECT_EQ(hit ? std::optional(rounded({hit->x, hit->y, hit->z})) : std::nullopt, met)
            << name;
    }
}

// A Shift click in NEW POINT, and the status line's cursor while Shift is held.
TEST_F(SurfacesTest, AShiftClickInNewPointPutsThePointOnTheFaceUnderThePointer) {
    state.blocks[0] = box(-10, 0, -10, 10, 8, 10);
    aim({-40, 4, 0, 0, Level});
    const V3 ahead{0, 4, 0}; // the plain click's point, 40 units ahead of the camera
    // name, Shift, Ctrl, pointer, where the point goes, the status line before the click
    const std::tuple<const char*, bool, bool, std::pair<int, int>, V3, const char*> rows[] = {
        {"Shift over the wall", true, false, {475, 151}, OnWall, "x2.0 (-10.0/6.1/-5.3)"},
        {"a plain click", false, false, {475, 151}, ahead, "x2.0 (0.0/4.0/0.0)"},
        {"Ctrl+Shift picks, and places nothing", true, true, {475, 151}, {}, "x2.0 (0.0/4.0/0.0)"},
        {"Shift over no face", true, false, {440, 35}, ahead, "x2.0 (0.0/4.0/0.0)"},
        {"Shift in the top pane", true, false, {160, 165}, {5, 0, 0}, "x2.0 (5.0/-0.0/-0.0)"},
    };
    for (const auto& [name, shift, control, pointer, placed, status] : rows) {
        state.pointTable = {};
        platform.shift = shift;
        platform.control = control;
        moveTo(pointer.first, pointer.second);
        EXPECT_EQ(textAt(400, 5).first, status) << name;
        click({tavo::testing::menuMark(MenuNewPoint), pointer}, true);
        EXPECT_EQ(used(2), (Slots{control ? 0 : 1, 0})) << name << ": points placed";
        EXPECT_EQ(rounded(xyz(0)), placed) << name;
    }
    EXPECT_EQ(history().undoSteps(), 4u) << "each placement one undo step";
}

// A crate on a wider slab, and a ramp; End drops the selected points onto the highest face below
// them.
TEST_F(SurfacesTest, EndDropsTheSelectionOntoTheHighestFaceBelowAndCountsThoseLeft) {
    state.blocks[0] = box(0, 0, 0, 10, 4, 10);
    state.blocks[1] = box(2, 4, 2, 8, 9, 8);
    state.blocks[2] = box(20, 0, 2, 30, 2, 12); // a ramp: its top rises to 12 along x
    state.blocks[2].y[6] = state.blocks[2].y[7] = 12;
    // name, slot state, where the point was, its height afterwards
    const std::tuple<const char*, int, V3, float> rows[] = {
        {"above both: onto the crate", 2, {5, 20, 5}, 9},
        {"above the slab alone, by its far edge", 2, {5, 20, 9.5f}, 4},
        {"inside the crate: onto the slab", 2, {5, 6, 5}, 4},
        {"on the crate already", 2, {5, 9, 5}, 9},
        {"over the slab's far edge", 2, {5, 20, 10}, 4},
        {"up the ramp", 2, {25, 20, 9.5f}, 7},
        {"further up the ramp", 2, {27.5f, 20, 4.5f}, 9.5f},
        {"beside the slab: stays", 2, {15, 20, 19}, 20},
        {"under both: stays", 2, {5, -3, 5}, -3},
        {"not selected: stays", 1, {5, 20, 6}, 20},
    };
    for (int slot = 0; slot < int(std::size(rows)); ++slot) {
        const auto& [name, used, at, height] = rows[slot];
        put({{float(slot), float(used), at[0], at[1], at[2], 3, 0, 0, float(slot)}});
    }
    const PointTable before = state.pointTable;
    press(vk::End);
    for (int slot = 0; slot < int(std::size(rows)); ++slot) {
        const auto& [name, used, at, height] = rows[slot];
        EXPECT_EQ(xyz(slot), (V3{at[0], height, at[2]})) << name;
    }
    EXPECT_EQ(textAt(600, 540).first, "2 WITH NO FLOOR STAYED") << "the note row";
    press(vk::letter('A'));
    EXPECT_EQ(textAt(600, 540).first, "") << "the next command clears the note";
    ASSERT_TRUE(edits.undo(false));
    EXPECT_TRUE(sameTable(state.pointTable, before)) << "End is one undo step";
}

} // namespace
} // namespace tavo::testing
