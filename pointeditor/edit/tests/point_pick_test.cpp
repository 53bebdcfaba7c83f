// Ctrl clicks pick the point under the pointer, as each pane draws its marker.

#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "pointeditor/data/selection.h"
#include "pointeditor/edit/point_pick.h"
#include "pointeditor/edit/tests/editor_driver.h"
#include "tests/support/menu_marks.h"

namespace tavo::testing {
namespace {

using Points = std::vector<std::array<float, 9>>;

class PointPickTest : public ::testing::Test, public Editor {};

// Zoom 2, no pan: the top pane's centre (150, 165) shows x 0, z 0; the front pane's (150, 455)
// x 0, y 0; the side pane's (440, 455) z 0, y 0; a world unit is two pixels.
TEST_F(PointPickTest, ACtrlClickInA2DPanePicksTheNearestMarkerWithinSixPixelsLowestSlotOnTies) {
    // name, the click, points as slot, state, x, y, z, parameters; the slot picked alone or -1
    const std::tuple<const char*, int, int, Points, int> cases[] = {
        {"top: six pixels right", 150, 165, {{4, 1, 3, 9, 0, 1, 2, 3, 4}}, 4},
        {"top: six and a half pixels right", 150, 165, {{4, 1, 3.25f, 0, 0}}, -1},
        {"top: diagonal within", 160, 155, {{4, 1, 7, 0, 3}}, 4},
        {"top: the nearer of two, a higher slot", 150, 165, {{1, 1, 2, 0, 0}, {6, 1, -1, 0, 0}}, 6},
        {"top: equally near, the lower slot", 150, 165, {{2, 1, 1, 0, 0}, {5, 1, -1, 0, 0}}, 2},
        {"top: a free slot is no marker", 150, 165, {{2, 0, 0, 0, 0}}, -1},
        {"front: y is up", 150, 449, {{3, 1, 0, 3, 40}}, 3},
        {"front: z does not count, y does", 150, 455, {{3, 1, 0, 3.5f, 0}}, -1},
        {"side: z is right", 446, 455, {{7, 1, 50, 0, 3}}, 7},
        {"side: x does not count, z does", 440, 455, {{7, 1, 0, 0, -3.5f}}, -1},
    };
    for (const auto& [name, x, y, points, picked] : cases) {
        SCOPED_TRACE(name);
        state.pointTable = {};
        put({{0, 2, 100, 100, 100}}); // selected, far from every click
        put(points);
        state.currentParams = {9, 9, 9, 9};
        ctrlClick(x, y);
        EXPECT_EQ(firstSelected(state.pointTable), picked) << "the selection's first slot";
        EXPECT_EQ(countSelected(state.pointTable), picked < 0 ? 0 : 1) << "selected alone";
        const Params expected = picked < 0 ? Params{9, 9, 9, 9} : params(picked);
        EXPECT_EQ(state.currentParams, expected) << "the parameters follow the picked point";
    }
}

TEST_F(PointPickTest, ASwitchedOffPaneShowsNoMarkerToPick) {
    put({{0, 2, 0, 0, 0}});
    state.showTopView = 0;
    ctrlClick(150, 165);
    EXPECT_EQ(countSelected(state.pointTable), 0) << "a click where nothing shows deselects";
    EXPECT_EQ(pickPoint(state), -1) << "no slot picked";
}

// Camera at the origin looking along +x: a point 20 units ahead lies at the pane's centre (440,
// 165), ten camera units away; from there a world unit across is about ten pixels (+z is left).
TEST_F(PointPickTest, InThe3DPaneTheMarkersProjectedCentresArePicked) {
    state.cameraX = state.cameraY = state.cameraZ = 0;
    state.cameraYaw = 0, state.cameraPitch = 1.5707964f;
    // name, the click's x and y, the points, the slot picked
    const std::tuple<const char*, int, int, Points, int> cases[] = {
        {"straight ahead", 440, 165, {{3, 1, 20, 0, 0}}, 3},
        {"5.5 pixels right", 440, 165, {{3, 1, 20, 0, -0.55f}}, 3},
        {"6.5 pixels right", 440, 165, {{3, 1, 20, 0, -0.65f}}, -1},
        {"6.5 pixels up", 440, 165, {{3, 1, 20, 0.65f, 0}}, -1},
        {"5.5 pixels down", 440, 165, {{3, 1, 20, -0.55f, 0}}, 3},
        {"behind the eye", 440, 165, {{3, 1, -20, 0, 0}}, -1},
        {"nearer than the near plane", 440, 165, {{3, 1, 0.5f, 0, 0}}, -1},
        {"just beyond the near plane", 440, 165, {{3, 1, 2, 0, 0}}, 3},
        {"beyond the far plane", 440, 165, {{3, 1, 500, 0, 0}}, -1},
        {"one behind the other: the lower slot", 440, 165, {{5, 1, 40, 0, 0}, {8, 1, 20, 0, 0}}, 5},
        {"nearer on screen, not in depth", 440, 165, {{2, 1, 20, 0, 0.3f}, {6, 1, 60, 0, 0}}, 6},
        {"up is +y, right is -z", 445, 160, {{1, 1, 20, -0.5f, 0.5f}, {4, 1, 20, 0.5f, -0.5f}}, 4},
    };
    for (const auto& [name, x, y, points, picked] : cases) {
        state.pointTable = {};
        put(points);
        ctrlClick(x, y);
        EXPECT_EQ(firstSelected(state.pointTable), picked) << name;
    }
}

TEST_F(PointPickTest, CtrlShiftClicksAddAndRemoveAndMissNothing) {
    put({{0, 2, 0, 0, 0}, {1, 1, 10, 0, 0}, {2, 1, -10, 0, 0}});
    // name, the click's x, the slots after
    const std::tuple<const char*, int, Slots> clicks[] = {
        {"adds slot 1", 170, {2, 2, 1}},       {"adds slot 2", 130, {2, 2, 2}},
        {"removes slot 1", 170, {2, 1, 2}},    {"removes slot 0", 150, {1, 1, 2}},
        {"misses: no change", 190, {1, 1, 2}},
    };
    for (const auto& [name, x, after] : clicks) {
        ctrlClick(x, 165, true);
        EXPECT_EQ(used(3), after) << name;
    }
}

// The click is a pick in every mode: it places nothing, begins no box, moves and snaps nothing
// on release. Over the menu it is the plain click.
TEST_F(PointPickTest, ACtrlClickDoesNothingThePlainClickDoesThere) {
    put({{0, 1, 1.3f, 0, 0}});
    const int32_t modes[] = {MenuNewPoint, MenuSelectPoint, MenuMovePoint, MenuView};
    for (int32_t mode : modes) {
        SCOPED_TRACE(mode);
        state.menuMode = mode;
        state.panX = 0.7f;
        ctrlClick(152, 165); // on the point, which lies off the grid
        EXPECT_EQ(countUsedPoints(state.pointTable), 1) << "no point placed";
        EXPECT_EQ(state.boxView, NoPane) << "no box begun";
        EXPECT_EQ(xyz(0), (V3{1.3f, 0, 0})) << "the point stays off the grid";
        EXPECT_EQ(state.panX, 0.7f) << "the pan stays off the grid";
        EXPECT_EQ(state.menuMode, mode) << "the mode stays";
    }
    // Dragging with the button of a Ctrl click moves nothing either.
    state.menuMode = MenuMovePoint;
    put({{0, 2, 1.3f, 0, 0}});
    platform.control = true;
    click({{152, 165}});
    moveTo(172, 165, Left);
    edits.buttonUp(MouseButton::Left, false);
    EXPECT_EQ(xyz(0), (V3{1.3f, 0, 0})) << "after a drag from a Ctrl click";
    click({menuMark(MenuView)}, true);
    EXPECT_EQ(state.menuMode, MenuView) << "a Ctrl click on the menu chooses";
}

} // namespace
} // namespace tavo::testing
