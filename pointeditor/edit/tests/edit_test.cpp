#include <cmath>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "pointeditor/data/pane_projection.h"
#include "pointeditor/edit/tests/editor_driver.h"
#include "pointeditor/edit/virtual_keys.h"
#include "pointeditor/edit/zoom.h"
#include "tests/support/menu_marks.h"

namespace tavo::testing {
namespace {

class EditTest : public ::testing::Test, public Editor {};
auto near = [](V3 a, V3 b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]) < 1e-3; };

TEST_F(EditTest, PaneEdgesAndTheCursorAsTheExactInverseOfThePaneDrawing) {
    // x, y, the pane: each pane includes both of its edges.
    const int cases[][3] = {{10, 25, 1},   {290, 305, 1}, {291, 305, 0}, {290, 306, 0},
                            {150, 310, 0}, {150, 315, 2}, {290, 595, 2}, {299, 455, 0},
                            {300, 315, 3}, {580, 595, 3}, {581, 455, 0}, {300, 25, 4},
                            {295, 165, 0}, {580, 305, 4}, {440, 310, 0}, {150, 165, 1}};
    // Zoom, panX, panY, panZ.
    const float views[][4] = {
        {2, 0, 0, 0}, {0.1f, 12.5f, -7.25f, 3}, {3.7f, -40, 18, -33.5f}, {10, 5, -5, 5}};
    for (const auto& v : views) {
        state.zoom = v[0], state.panX = v[1], state.panY = v[2], state.panZ = v[3];
        for (auto [x, y, pane] : cases) {
            state.cursorX = state.cursorZ = 99.0f;
            auto [cx, cy, cz] = (moveTo(x, y), cursor());
            // The pane draws the cursor under the mouse; its fixed axis is where the next
            // pane's centre lies.
            SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y) + " zoom " +
                         std::to_string(v[0]));
            EXPECT_EQ(state.hoverView, pane);
            if (pane == 0) {
                EXPECT_EQ(cursor(), V3{});
            } else if (pane != 4) {
                PanePixel at = mapToPane(state, pane, cx, cy, cz);
                PanePixel next = mapToPane(state, pane % 3 + 1, cx, cy, cz);
                V3 expected{x - (pane == 3 ? 300.f : 10.f), y - (pane == 1 ? 25.f : 315.f), 140};
                EXPECT_PRED2(near, (V3{at.x, at.y, pane == 1 ? next.y : next.x}), expected);
            }
        }
    }
    // In the 3D pane the cursor lies 40 world units ahead of the camera, which stands at twice
    // its fields: yaw, pitch, where the cursor is for a camera at (1, 2, 3).
    const float aheads[][5] = {
        {0, 1.5707964f, 42, 4, 6}, {1.5707964f, 1.5707964f, 2, 4, 46}, {0, 0, 2, 44, 6}};
    state.cameraX = 1, state.cameraY = 2, state.cameraZ = 3;
    for (auto [yaw, pitch, x, y, z] : aheads) {
        state.cameraYaw = yaw, state.cameraPitch = pitch;
        EXPECT_PRED2(near, (moveTo(440, 165), cursor()), (V3{x, y, z})) << yaw << "," << pitch;
    }
}

TEST_F(EditTest, ViewDragsPanTurnFlyRiseAndZoom) {
    constexpr float Degree = 0.017453289f;
    state.menuMode = MenuView;
    // Zoom in tenths, from, to: over every 2D pane the grabbed point stays under the mouse.
    const int pans[][5] = {{20, 150, 165, 160, 165}, {5, 120, 200, 170, 150},
                           {70, 150, 455, 131, 470}, {20, 60, 400, 80, 380},
                           {5, 440, 455, 460, 440},  {70, 500, 500, 470, 520}};
    for (auto [tenths, fromX, fromY, toX, toY] : pans) {
        state.zoom = tenths / 10.0f;
        const V3 grabbed = (moveTo(fromX, fromY), cursor());
        updateCursor(moveTo(toX, toY, Left));
        EXPECT_PRED2(near, cursor(), grabbed) << fromX << "," << fromY;
    }
    moveTo(440, 165);
    const float yaw = state.cameraYaw, pitch = state.cameraPitch;
    moveTo(443, 167, Left); // right turns left, down tilts down; the pointer returns
    EXPECT_EQ(std::pair(state.cameraYaw, state.cameraPitch),
              std::pair(yaw - 6 * Degree, pitch + 4 * Degree));
    EXPECT_EQ(platform.warps, (std::vector<std::pair<int, int>>{{440, 165}}));
    // The pitch stops a degree short of straight down and of straight up.
    EXPECT_EQ(moveTo(440, 305, Left).cameraPitch, 3.1241386f);
    state.cameraPitch = 2.5f * Degree;
    EXPECT_EQ(moveTo(440, 164, Left).cameraPitch, Degree);
    state.cameraYaw = 0.5f, state.cameraPitch = 1.2f;
    const auto camera = [&] { return V3{state.cameraX, state.cameraY, state.cameraZ}; };
    // From (50, 50, -50): five pixels up flies five units ahead, three left goes three sideways.
    EXPECT_PRED2(near, (moveTo(437, 160, Right), camera()), (V3{52.6514f, 51.8118f, -45.1330f}));
    // Up four rises four straight up, right two goes two level.
    EXPECT_PRED2(near, (moveTo(442, 161, Both), camera()), (V3{53.6103f, 55.8118f, -46.8882f}));
    state.zoom = 2.25f; // right drags over a 2D pane zoom a tenth a pixel, rounded, 0.1..10.0
    moveTo(150, 200);
    const int zooms[][2] = {{197, 25}, {198, 24}, {108, 100}, {107, 100}, {373, 1}, {372, 2}};
    for (auto [y, tenths] : zooms) {
        moveTo(150, y, Right);
        EXPECT_EQ(std::pair(state.zoom, state.gridStep),
                  std::pair(tenths / 10.0f, 5.0f / state.zoom))
            << y;
    }
    // The rounding of the exact binary value, as "%.1f" does.
    EXPECT_EQ(std::pair(roundToTenth(0.25f), roundToTenth(0.35f)), std::pair(0.2f, 0.3f));
}

TEST_F(EditTest, MoveDragsOnlyTheSelectionInOnePaneAndSnapsHalfAwayOnRelease) {
    state.menuMode = MenuMovePoint;
    put({{0, 2, 1, 2, 3}, {1, 1, 4, 5, 6}});
    // From, to, where point 0 is then. Zoom 2: ten pixels are five units.
    const int moves[][7] = {{150, 165, 170, 155, 11, 2, 8},  {150, 455, 150, 445, 11, 7, 8},
                            {440, 455, 450, 455, 11, 7, 13}, {450, 455, 150, 300, 11, 7, 13},
                            {150, 310, 150, 300, 11, 7, 13}, {440, 165, 450, 170, 11, 7, 13}};
    for (auto [fromX, fromY, toX, toY, x, y, z] : moves) {
        moveTo(fromX, fromY);
        moveTo(toX, toY, Left);
        EXPECT_EQ(std::pair(xyz(0), xyz(1)),
                  std::pair(V3{float(x), float(y), float(z)}, V3{4, 5, 6}))
            << toX << "," << toY;
    }
    // Many moves of one drag are one undo step; nothing is undone while it lasts or while a
    // message runs (a box of some message is open).
    moveTo(150, 165);
    const std::size_t steps = history().undoSteps();
    moveTo(160, 165, Left);
    moveTo(170, 165, Left);
    EXPECT_EQ(edits.undo(false), false) << "mid-drag";
    moveTo(170, 165);
    EXPECT_EQ(history().undoSteps(), steps + 1);
    edits.run([&](EditorState&) { EXPECT_EQ(edits.undo(false), false) << "inside a message"; },
              false);
    // The grid step is 2.5: 3.74 goes down, 3.75 and -3.75 go away from zero.
    put({{0, 2, 3.74f, 1.3f, -3.75f}, {1, 2, 3.75f, 1.2f, 0}, {2, 1, 3.74f, 0, 0}});
    const int releases[][2] = {{310, 1}, {300, 1}, {301, 0}}; // y, grid lock
    for (auto [y, lock] : releases) {
        state.gridLock = lock; // out of every pane, into the top pane, unlocked: no snapping
        onLeftUp(moveTo(150, y));
    }
    EXPECT_EQ(xyz(0), (V3{3.74f, 1.3f, -3.75f}));
    state.gridLock = 1;
    onLeftUp(moveTo(151, 302));
    EXPECT_EQ(std::tuple(xyz(0), xyz(1), xyz(2)),
              std::tuple(V3{2.5f, 2.5f, -5}, V3{5, 0, 0}, V3{3.74f, 0, 0}));
    // Releasing in VIEW snaps the pan the same way.
    state.menuMode = MenuView, state.panX = 3.74f, state.panY = 1.3f, state.panZ = -3.75f;
    onLeftUp(moveTo(151, 302));
    EXPECT_EQ(pan(), (V3{2.5f, 2.5f, -5}));
    EXPECT_EQ(std::pair(roundHalfAway(-2.5f), roundHalfAway(3e9f)), std::pair(-3.0f, 3e9f));
}

TEST_F(EditTest, SelectionBoxesTakeEitherCornerOrderTheirBorderAndNarrowOnRightClick) {
    // Centre at any height, on a corner, on an edge, just outside in x, just outside in z.
    put({{0, 1, 0, 99, 0}, {1, 1, 10, 0, 10}, {2, 1, -10, -5, 3}});
    put({{3, 1, 10.5f, 0, 0}, {4, 2, 0, 0, -10.5f}});
    state.menuMode = MenuSelectPoint;
    // Top pane from world (10, 0, 10), other panes and no pane keep the box, to (-10, 0, -10).
    click({{170, 145}, {150, 455}, {440, 165}, {700, 300}, {130, 185}});
    EXPECT_EQ(used(6), (Slots{2, 2, 2, 1, 1, 0}));
    platform.shift = true; // the other corner order; Shift adds to the selection
    state.pointTable.pointUsed[4] = SlotSelected;
    click({{130, 185}, {170, 145}});
    EXPECT_EQ(used(6), (Slots{2, 2, 2, 1, 2, 0}));
    click({{130, 445}, {170, 465}}); // front pane: world (-10, 5, z) to (10, -5, z)
    EXPECT_EQ(used(5), (Slots{2, 2, 2, 1, 2}));
    state.pointTable.pointUsed[1] = SlotUsed;
    click({{130, 145}}); // a right click narrows to the begun box: (-10, 0, 10) to (10, 0, -10)
    onRightDown(moveTo(170, 185));
    EXPECT_EQ(std::pair(used(5), state.boxView),
              std::pair(Slots{2, 1, 2, 1, 1}, int32_t{NoPane})); // no mark on 1
    click({{150, 165}}); // a box begun in the top pane, right-clicked in the front pane
    onRightDown(moveTo(150, 455));
    EXPECT_EQ(std::tuple(state.menuMode, state.boxView, state.pointTable.pointUsed[2]),
              std::tuple(int32_t{MenuMovePoint}, int32_t{NoPane}, int32_t{SlotSelected}));
    onRightDown(state);
    EXPECT_EQ(state.menuMode, MenuSelectPoint);
}

TEST_F(EditTest, MenuHitsEndAtTheDiamondsEdgesAndCommandsRunInTheSameClick) {
    put({{0, 2, 1}, {1, 1, 2}, {2, 2, 3}});
    state.savedPoints = state.pointTable; // as loaded: LOAD POINT has nothing to ask
    platform.boxAnswers = {BoxAnswer::Cancel};
    std::vector<int> modesWhileOpen; // the entry stays highlighted while its box or dialog is up
    platform.whileModal = [&] { modesWhileOpen.push_back(state.menuMode); };
    // x, y, the mode that results from mode 0; DELETE and the file commands run at once.
    const int hits[][3] = {{621, 48, 1},  {622, 48, 0},  {608, 61, 1},  {608, 62, 0},
                           {608, 63, 0},  {608, 65, 2},  {601, 102, 3}, {608, 138, 0},
                           {608, 168, 5}, {608, 198, 0}, {608, 228, 0}, {608, 258, 0},
                           {608, 288, 0}, {600, 280, 0}};
    for (auto [x, y, mode] : hits) {
        state.menuMode = MenuNone;
        click({{x, y}});
        EXPECT_EQ(state.menuMode, mode) << x << "," << y;
    }
    // "◆ -----" is inert
    ASSERT_EQ(std::pair(platform.boxes.size(), platform.dialogs.size()),
              std::pair(std::size_t{1}, std::size_t{3}));
    // DELETE asked with OK and Cancel, Cancel was answered; NEW POINT placed nothing.
    EXPECT_EQ(std::tuple(modesWhileOpen, platform.boxes[0].text, used(4)),
              std::tuple(std::vector<int>{4, 6, 7, 8}, "DELETE OK?", Slots{2, 1, 2, 0}));
    const EditorState& s = state;
    state.showSideView = 7; // any value but 0 turns off
    click({toggleMark(&EditorState::gridLock), toggleMark(&EditorState::showDirection),
           toggleMark(&EditorState::showTopView), toggleMark(&EditorState::showFrontView),
           toggleMark(&EditorState::showSideView)});
    EXPECT_EQ(
        std::tuple(s.gridLock, s.showDirection, s.showTopView, s.showFrontView, s.showSideView),
        std::tuple(0, 0, 0, 0, 0));
    click({{619, 368}, {620, 368}}); // 11 from the mark hits, 12 does not
    EXPECT_EQ(std::pair(s.gridLock, s.showDirection), std::pair(1, 0));
    click({{608, 379}}); // in reach of two marks: only the nearer flips
    EXPECT_EQ(std::pair(s.gridLock, s.showDirection), std::pair(1, 1));
    click({{608, 378}}); // halfway between them: the upper one
    EXPECT_EQ(std::pair(s.gridLock, s.showDirection), std::pair(0, 1));
    click({menuMark(MenuNewPoint), {170, 155}}); // NEW POINT at (10, 0, 5) in slot 3, and done
    EXPECT_EQ(std::tuple(xyz(3), state.pointTable.pointUsed[3], state.menuMode),
              std::tuple(V3{10, 0, 5}, int32_t{SlotUsed}, int32_t{MenuNone}));
}

TEST_F(EditTest, KeysWrapTheParametersPassTheZoomStageAndPanThePaneUnderTheMouse) {
    const int presses[][2] = {{'A', 128}, {'Z', 1}, {'S', 3}, {'X', 1},
                              {'D', 1},   {'C', 2}, {'F', 2}, {'V', 131}};
    for (auto [key, times] : presses) {
        press(key, times);
    }
    EXPECT_EQ(state.currentParams, (Params{127, 2, -1, 127})); // A past 127, V past -128
    press(vk::Subtract);
    EXPECT_EQ(std::pair(state.zoom, state.gridStep), std::pair(1.9f, 5.0f / 1.9f));
    for (int key : {vk::Add, int('A'), vk::function(2), vk::Right, vk::numpad(4), vk::numpad(0),
                    vk::Insert, 0x99}) { // every key passes the zoom's limits
        state.zoom = 25.0f, state.gridStep = 1.0f;
        press(key);
        EXPECT_EQ(std::pair(state.zoom, state.gridStep), std::pair(10.0f, 0.5f)) << key;
    }
    press(vk::function(3));
    EXPECT_EQ(std::tuple(state.zoom, state.savedZoom, state.gridStep),
              std::tuple(1.0f, 10.0f, 5.0f));
    // Mouse x, y, keypad digit, then panX, panY, panZ; one step is 50 pixels, at zoom 1.
    const int pans[][6] = {{150, 165, 4, -50, 0, 0}, {150, 165, 8, 0, 0, -50},
                           {150, 455, 6, 50, 0, 0},  {150, 455, 8, 0, -50, 0},
                           {440, 455, 4, 0, 0, 50},  {440, 455, 5, 0, 50, 0},
                           {440, 165, 8, 0, 0, 0},   {150, 165, 2, 0, 0, 0}};
    for (auto [x, y, digit, panX, panY, panZ] : pans) {
        state.panX = state.panY = state.panZ = 0.0f;
        onKeyDown(moveTo(x, y), vk::numpad(digit));
        EXPECT_EQ(pan(), (V3{float(panX), float(panY), float(panZ)})) << x << "," << y << digit;
    }
}

TEST_F(EditTest, SelectionKeysTurnCopyApplyShowAndPickTheNearestPoint) {
    // Selected, used, selected, free: neither found nor counted.
    put({{0, 2, 0, 0, 0, 1, 2, -3, 5}, {1, 1, 0, 0, 0, 4, 0, 0, 7}});
    put({{2, 2, 0, 0, 0, 6, 0, 127, -128}, {3, 0, 0, 0, 0, 1, 0, 0, 9}});
    pts[0].r = 3.0f;
    press(vk::Right, 2); // past pi, then below minus pi: not wrapped
    press(vk::Left, 20);
    EXPECT_NEAR(pts[0].r, 3.0f - 18 * 0.3926990f, 1e-4f);
    EXPECT_EQ(pts[1].r, 0);
    press(vk::Return);
    for (int english : {1, 0}) {
        state.english = english;
        for (int8_t id : {7, 9}) { // used but not selected, free
            state.currentParams[3] = id;
            press(vk::function(9));
        }
        press(vk::function(8));
    }
    EXPECT_EQ(boxesShown(), "[1] [2] [-3] [5] / POINT PARAM|[6] [0] [127] [-128] / POINT PARAM|"
                            "FOUND : 7 / ID-NUMBER SEARCH|NOT FOUND : 9 / ID-NUMBER SEARCH|"
                            "HUMAN COUNT 2 / HUMAN COUNT|7 番は既に使用されています / 識別番号確認|"
                            "9 番は未使用です / 識別番号確認|2 人 / 配置人数|");
    press(vk::function(11)); // the highest selected slot's parameters remain
    EXPECT_EQ(state.currentParams, (Params{6, 0, 127, -128}));
    state.currentParams = {3, 1, 20, 21};
    press(vk::function(12));
    EXPECT_EQ(std::tuple(params(0), int(pts[2].p1), int(pts[1].p1)),
              std::tuple(Params{3, 1, 20, 21}, 3, 4));
    // Keypad 0: slot 4 is near in the top view, far in the front view; slot 5 as near in the
    // top view. The 3D pane and no pane have no plane and change nothing.
    put({{0, 2, 30, 0, 30}, {1, 0}, {2, 0}, {4, 1, 4, -50, 0, 2}, {5, 1, -4, 0, 0, 3}});
    const int moves[][3] = {
        {150, 455, 5}, {440, 455, 5}, {150, 165, 4}, {440, 165, 4}, {700, 300, 4}};
    for (auto [x, y, nearest] : moves) {
        onKeyDown(moveTo(x, y), vk::numpad(0));
        EXPECT_EQ(
            std::pair(used(6), int(state.currentParams[0])),
            std::pair(Slots{1, 0, 0, 0, nearest == 4 ? 2 : 1, nearest == 5 ? 2 : 1}, nearest - 2))
            << x << "," << y;
    }
}

TEST_F(EditTest, TemplateKeysLayOutLinkedPointsAndLeaveTheNextId) {
    // Key, dx, dz, kind, p2, p3, id; the ids, and p2 of a RANDOM PATH (8), count from the
    // first id, 124. Key 0 copies the current parameters, {7, 7, 124, 124}.
    const int rows[][7] = {
        {0, 5, 5, 7, 7, 0, 0},     {0, -5, 5, 7, 7, 0, 0},   {0, -5, -5, 7, 7, 0, 0},
        {0, 5, -5, 7, 7, 0, 0},    {1, 0, 0, 3, 2, 0, 0},    {2, 10, 0, 3, 0, 1, 0},
        {2, -10, 0, 3, 0, 0, 1},   {3, 10, 10, 3, 0, 1, 0},  {3, -10, 10, 3, 0, 2, 1},
        {3, -10, -10, 3, 0, 3, 2}, {3, 10, -10, 3, 0, 0, 3}, {4, 10, 10, 3, 0, 1, 0},
        {4, 0, 10, 3, 0, 2, 1},    {4, -10, 10, 3, 0, 3, 2}, {4, -10, -10, 3, 0, 4, 3},
        {4, 0, -10, 3, 0, 5, 4},   {4, 10, -10, 3, 0, 0, 5}, {5, 0, -15, 3, 1, 1, 0},
        {5, 0, -5, 3, 1, 2, 1},    {5, 0, 5, 3, 1, 3, 2},    {5, 0, 15, 3, 2, 3, 3},
        {6, 0, -35, 3, 1, 1, 0},   {6, 0, -25, 3, 1, 2, 1},  {6, 0, -15, 3, 1, 3, 2},
        {6, 0, -5, 3, 1, 4, 3},    {6, 0, 5, 3, 1, 5, 4},    {6, 0, 15, 3, 1, 6, 5},
        {6, 0, 25, 3, 1, 7, 6},    {6, 0, 35, 3, 2, 7, 7},   {7, 0, -10, 8, 1, 2, 0},
        {7, -5, 0, 8, 3, 4, 1},    {7, 5, 0, 8, 5, 6, 2},    {7, -15, 10, 3, 2, 3, 3},
        {7, -5, 10, 3, 2, 4, 4},   {7, 5, 10, 3, 2, 5, 5},   {7, 15, 10, 3, 2, 6, 6}};
    state.cursorX = 2, state.cursorY = 4, state.cursorZ = -6;
    auto id = [](int offset) { return static_cast<int8_t>(124 + offset); }; // wraps at 127
    for (int key = 0; key <= 7; ++key) {
        state.pointTable.pointUsed.fill(SlotFree), state.currentParams = {7, 7, id(0), id(0)};
        press(vk::digit(key));
        int n = 0;
        for (const auto& r : rows) {
            if (r[0] != key) {
                continue;
            }
            int8_t p2 = r[3] == 8 ? id(r[4]) : static_cast<int8_t>(r[4]);
            EXPECT_EQ(std::pair(xyz(n), params(n)),
                      std::pair(V3{2.0f + r[1], 4, r[2] - 6.0f},
                                Params{int8_t(r[3]), p2, id(r[5]), id(r[6])}))
                << "key " << key << " point " << n;
            ++n;
        }
        Params last = params(n - 1); // and the parameters of the last point remain
        EXPECT_EQ(std::pair(countUsedPoints(state.pointTable), state.currentParams),
                  std::pair(n, Params{last[0], last[1], last[2], id(key ? n : 0)}))
            << key;
    }
    // A full table with room for one point still advances the ids.
    state.pointTable.pointUsed.fill(SlotUsed);
    state.pointTable.pointUsed[50] = SlotFree;
    press(vk::digit(3)); // from -125, where key 7 left the id
    EXPECT_EQ(std::tuple(int(pts[50].p4), int(pts[50].p3), int(state.currentParams[3])),
              std::tuple(-125, -124, -121));
    // Insert: S in slot 2 links 21 -> 77, which no point has, so nothing happens; then to 30
    // (slot 4). Slot 5 is selected too, and linked to itself.
    state.pointTable.pointUsed.fill(SlotFree);
    put({{0, 1, 0, 0, 0, 3, 0, 30, 20}, {2, 2, 10, 2, -4, 3, 1, 77, 21}});
    put({{4, 1, 30, 6, 8, 3, 0, 21, 30}, {5, 2, 7, 7, 7, 3, 0, 22, 22}});
    state.currentParams = {3, 2, 99, 40};
    press(vk::Insert);
    pts[2].p3 = 30;
    press(vk::Insert); // the id is not advanced
    EXPECT_EQ(std::tuple(xyz(1), params(1), used(6), int(pts[2].p3), state.currentParams),
              std::tuple(V3{20, 4, 2}, Params{3, 2, 30, 40}, Slots{1, 1, 1, 0, 1, 2}, 40,
                         Params{3, 2, 99, 40}));
    state.currentParams[3] = 41;
    press(vk::Insert); // a self-linked S gets the new point on itself
    EXPECT_EQ(std::tuple(xyz(3), params(3), used(6), int(pts[5].p3)),
              std::tuple(V3{7, 7, 7}, Params{3, 2, 22, 41}, Slots{1, 1, 1, 1, 1, 1}, 41));
    state.pointTable.pointUsed.fill(SlotUsed); // S's target exists, but the table is full
    state.pointTable.pointUsed[2] = SlotSelected;
    press(vk::Insert);
    EXPECT_EQ(std::pair(state.pointTable.pointUsed[2], int(pts[2].p3)),
              std::pair(SlotSelected, 40));
}

// A template key or Insert whose new points got ids that other points already had leaves a note
// in the text column's row 540 until the next command; key 0's four points share their id.
TEST_F(EditTest, IdsAlreadyInUseAreNotedInTheirOwnRowUntilTheNextCommand) {
    // The ids of the points in use before (in slots 10, 11...), English, the first id, the key,
    // the note, then the spaces to the window's edge: a Japanese character takes two cells.
    const std::tuple<std::vector<int>, int, int, int, const char*, int> cases[] = {
        {{20}, 1, 10, vk::digit(3), "", 25},
        {{11}, 1, 10, vk::digit(3), "ID 11 ALREADY IN USE", 5},
        {{12, 10}, 1, 10, vk::digit(3), "ID 10 AND 1 MORE IN USE", 2}, // the first placed first
        {{}, 1, 5, vk::digit(0), "", 25}, // key 0's points share their id among themselves
        {{5}, 1, 5, vk::digit(0), "ID 5 ALREADY IN USE", 6},
        {{8, 7}, 0, 7, vk::digit(2), "7 番ほか 1 個は使用中", 4},
        {{8}, 0, 7, vk::digit(2), "8 番は既に使用中", 9},
        {{40}, 1, 40, vk::Insert, "ID 40 ALREADY IN USE", 5},
    };
    for (const auto& [ids, english, firstId, key, note, pad] : cases) {
        SCOPED_TRACE(std::to_string(key) + " " + note);
        state.pointTable.pointUsed.fill(SlotFree);
        state.english = english;
        for (int i = 0; i < static_cast<int>(ids.size()); ++i) {
            put({{float(10 + i), 1, 0, 0, 0, 3, 0, float(ids[i]), float(ids[i])}});
        }
        // S for Insert in slot 0, linked to the point in slot 1.
        put({{0, 2, 0, 0, 0, 3, 0, 99, 99}, {1, 1, 0, 0, 0, 3, 0, 99, 99}});
        state.currentParams = {3, 0, 0, int8_t(firstId)};
        press(key);
        EXPECT_EQ(textAt(600, 540), std::pair(std::string(note), pad));
        press(vk::letter('A'));
        EXPECT_EQ(textAt(600, 540), std::pair(std::string(), 25));
    }
}

// F5 runs the link check over the table: one box with the counts and the first findings, and
// the points the findings are about become the selection.
TEST_F(EditTest, LinkCheckReportsInOneBoxAndSelectsThePointsInvolved) {
    // English, the states of slots 0..5 after, the points (slot, state, x, y, z, p1..p4), the box.
    auto check = [this](int english, const Slots& selection,
                        const std::vector<std::array<float, 9>>& points, const std::string& box) {
        SCOPED_TRACE(box);
        state.pointTable.pointUsed.fill(SlotFree);
        state.english = english;
        put(points);
        press(vk::function(5));
        EXPECT_EQ(boxesShown(), box + (english ? " / LINK CHECK|" : " / リンク確認|"));
        EXPECT_EQ(used(6), selection);
    };
    // Sound, and a path end on its own id: the selection stays.
    check(1, {2, 0, 0, 0, 1, 0}, {{0, 2, 0, 0, 0, 3, 0, 20, 19}, {4, 1, 0, 0, 0, 3, 2, 20, 20}},
          "ERRORS 0 / WARNINGS 0");
    check(0, {1, 0, 0, 2, 0, 0}, {{0, 2, 0, 0, 0, 2, 0, 0, 1}, {3, 1, 0, 0, 0, 3, 0, 99, 10}},
          "エラー 1 件 / 警告 0 件\nエラー: スロット 3, 識別番号 10, パス: "
          "リンク先の識別番号 99 を持つポイントがありません");
    // A shared id, and a path end whose own id reaches another point.
    check(1, {2, 0, 2, 0, 0, 2},
          {{0, 1, 0, 0, 0, 3, 0, 11, 9},
           {2, 1, 0, 0, 0, 3, 2, 11, 11},
           {5, 1, 0, 0, 0, 3, 2, 11, 11}},
          "ERRORS 2 / WARNINGS 0\nerror: slot 0, id 9, PATH: links to id 11, which slots 2 and 5 "
          "share; the link reaches slot 2\nerror: slot 5, id 11, PATH: ends its path on its own id "
          "11, which slots 2 and 5 share; the link reaches slot 2");
}

} // namespace
} // namespace tavo::testing
