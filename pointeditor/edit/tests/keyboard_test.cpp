#include <gtest/gtest.h>

#include "pointeditor/edit/keyboard.h"
#include "pointeditor/edit/tests/edit_fixture.h"
#include "pointeditor/edit/virtual_keys.h"

namespace tavo::testing {
namespace {

class KeyboardTest : public EditorTest {
  protected:
    void press(int key, int times = 1) {
        for (int i = 0; i < times; ++i) {
            onKeyDown(state, key);
        }
    }
};

TEST_F(KeyboardTest, ParameterKeysStepTheirParameterAndWrapInEightBits) {
    press('A', 128);
    EXPECT_EQ(state.currentParams[0], -128);
    press('Z');
    EXPECT_EQ(state.currentParams[0], 127);
    press('S', 3);
    press('X');
    press('D');
    press('C', 2);
    press('V', 129);
    press('F');
    EXPECT_EQ(state.currentParams[1], 2);
    EXPECT_EQ(state.currentParams[2], -1);
    EXPECT_EQ(state.currentParams[3], -128); // down past -128 to 127, then up again
    press('a');                              // lower-case codes are other keys
    press(0x5B);                             // one past Z
    EXPECT_EQ(state.currentParams[0], 127);
}

TEST_F(KeyboardTest, ZoomKeysStayWithinLimitsAndEveryKeyRestoresTheGridStep) {
    press(vk::Add);
    EXPECT_EQ(state.zoom, 2.0f + 0.1f);
    EXPECT_EQ(state.gridStep, 5.0f / (2.0f + 0.1f));
    state.zoom = 10.0f;
    press(vk::Add);
    EXPECT_EQ(state.zoom, 10.0f);
    EXPECT_EQ(state.gridStep, 0.5f);

    state.zoom = 2.0f;
    press(vk::Subtract, 25);
    EXPECT_EQ(state.zoom, 0.1f);
    EXPECT_EQ(state.gridStep, 50.0f);

    // Whatever the key, an out-of-range zoom is pulled back and the grid step follows it.
    for (int key : {int('A'), vk::function(2), vk::Right, vk::numpad(4), vk::numpad(0), 0x99}) {
        state.zoom = 25.0f;
        state.gridStep = 1.0f;
        press(key);
        EXPECT_EQ(state.zoom, 10.0f) << key;
        EXPECT_EQ(state.gridStep, 0.5f) << key;
        state.zoom = -3.0f;
        press(key);
        EXPECT_EQ(state.zoom, 0.1f) << key;
    }
}

TEST_F(KeyboardTest, F3SwapsTheTwoZoomsWithTheirGridSteps) {
    press(vk::function(3));
    EXPECT_EQ(state.zoom, 1.0f);
    EXPECT_EQ(state.savedZoom, 2.0f);
    EXPECT_EQ(state.gridStep, 5.0f);
    press(vk::function(3));
    EXPECT_EQ(state.zoom, 2.0f);
    EXPECT_EQ(state.savedZoom, 1.0f);
    EXPECT_EQ(state.gridStep, 2.5f);
}

TEST_F(KeyboardTest, KeypadPansTheTwoDPaneUnderTheMouseFiftyPixelsAStep) {
    struct Case {
        int x, y, key;
        float panX, panY, panZ;
    };
    // At zoom 2 one step is 25 world units; 4 left, 6 right, 8 up, 5 down on the screen.
    const Case cases[] = {
        {150, 165, vk::numpad(4), -25, 0, 0}, {150, 165, vk::numpad(6), 25, 0, 0},
        {150, 165, vk::numpad(8), 0, 0, -25}, {150, 165, vk::numpad(5), 0, 0, 25},
        {150, 455, vk::numpad(4), -25, 0, 0}, {150, 455, vk::numpad(6), 25, 0, 0},
        {150, 455, vk::numpad(8), 0, -25, 0}, {150, 455, vk::numpad(5), 0, 25, 0},
        {440, 455, vk::numpad(4), 0, 0, 25},  {440, 455, vk::numpad(6), 0, 0, -25},
        {440, 455, vk::numpad(8), 0, -25, 0}, {440, 455, vk::numpad(5), 0, 25, 0},
        {440, 165, vk::numpad(8), 0, 0, 0},   {700, 300, vk::numpad(4), 0, 0, 0},
        {150, 165, vk::numpad(2), 0, 0, 0},   {150, 165, vk::Up, 0, 0, 0},
    };
    for (const Case& c : cases) {
        state.panX = state.panY = state.panZ = 0.0f;
        moveTo(c.x, c.y);
        press(c.key);
        EXPECT_EQ(state.panX, c.panX) << c.x << "," << c.y << " key " << c.key;
        EXPECT_EQ(state.panY, c.panY) << c.x << "," << c.y << " key " << c.key;
        EXPECT_EQ(state.panZ, c.panZ) << c.x << "," << c.y << " key " << c.key;
    }
    // The world point under the mouse goes the way the key says: keypad 6 moves the view
    // right, so the mouse then points further right (+z in the side pane).
    moveTo(440, 455);
    const float before = state.cursorZ;
    press(vk::numpad(6));
    updateCursor(state);
    EXPECT_GT(state.cursorZ, before);
}

TEST_F(KeyboardTest, ArrowsTurnTheSelectionByAnEighthOfHalfATurnWithoutWrapping) {
    putPoint(0, 0, 0, 0, 2).r = 3.0f;
    putPoint(1, 0, 0, 0, 1);
    press(vk::Right, 2);
    EXPECT_FLOAT_EQ(state.points[0].r, 3.0f + 2 * 0.3926990f); // beyond pi, kept
    EXPECT_EQ(state.points[1].r, 0.0f);
    press(vk::Left, 20);
    EXPECT_FLOAT_EQ(state.points[0].r, 3.0f - 18 * 0.3926990f);
}

TEST_F(KeyboardTest, F11CopiesTheHighestSelectedSlotAndF12AppliesToEverySelectedPoint) {
    press(vk::function(11)); // nothing selected: nothing changes
    EXPECT_EQ(state.currentParams, (std::array<int8_t, 4>{0, 0, 0, 0}));
    putPoint(4, 0, 0, 0, 2, {1, 2, 3, 4});
    putPoint(9, 0, 0, 0, 2, {5, -6, 7, -8});
    putPoint(12, 0, 0, 0, 1, {9, 9, 9, 9});
    press(vk::function(11));
    EXPECT_EQ(state.currentParams, (std::array<int8_t, 4>{5, -6, 7, -8}));

    state.currentParams = {3, 1, 20, 21};
    press(vk::function(12));
    for (int slot : {4, 9}) {
        EXPECT_EQ(state.points[slot].p1, 3);
        EXPECT_EQ(state.points[slot].p3, 20);
        EXPECT_EQ(state.points[slot].p4, 21);
    }
    EXPECT_EQ(state.points[12].p1, 9);
}

TEST_F(KeyboardTest, CountAndParameterBoxes) {
    putPoint(2, 0, 0, 0, 2, {-1, 2, -3, 4});
    putPoint(5, 0, 0, 0, 1, {9, 9, 9, 9});
    putPoint(7, 0, 0, 0, 2, {1, 0, 127, -128});
    press(vk::function(2));
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "POINT COUNT 3 / 200");
    EXPECT_EQ(platform.boxes[0].caption, "POINT COUNT");
    EXPECT_EQ(platform.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(platform.boxes[0].icon, BoxIcon::None);

    press(vk::Return);
    ASSERT_EQ(platform.boxes.size(), 3u);
    EXPECT_EQ(platform.boxes[1].text, "[-1] [2] [-3] [4]");
    EXPECT_EQ(platform.boxes[1].caption, "POINT PARAM");
    EXPECT_EQ(platform.boxes[2].text, "[1] [0] [127] [-128]");

    state.pointUsed.fill(1);
    press(vk::Return); // nothing selected: no box
    EXPECT_EQ(platform.boxes.size(), 3u);
}

TEST_F(KeyboardTest, IdSearchAndHumanCountSpeakBothLanguages) {
    putPoint(0, 0, 0, 0, 1, {1, 0, 0, 5});
    putPoint(1, 0, 0, 0, 2, {6, 0, 0, 7});
    putPoint(2, 0, 0, 0, 1, {4, 0, 0, -3});
    putPoint(3, 0, 0, 0, 1, {6, 0, 0, 0});
    putPoint(4, 0, 0, 0, 0, {1, 0, 0, 9}); // free: neither found nor counted
    state.currentParams[3] = 5;
    press(vk::function(9));
    state.currentParams[3] = 9;
    press(vk::function(9));
    press(vk::function(8));
    state.english = 0;
    state.currentParams[3] = 5;
    press(vk::function(9));
    state.currentParams[3] = -3;
    press(vk::function(9));
    state.currentParams[3] = 9;
    press(vk::function(9));
    press(vk::function(8));
    const std::pair<const char*, const char*> expected[] = {
        {"FOUND : 5", "ID-NUMBER SEARCH"},
        {"NOT FOUND : 9", "ID-NUMBER SEARCH"},
        {"HUMAN COUNT 3", "HUMAN COUNT"},
        {"5 番は既に使用されています", "識別番号確認"},
        {"-3 番は既に使用されています", "識別番号確認"},
        {"9 番は未使用です", "識別番号確認"},
        {"3 人", "配置人数"},
    };
    ASSERT_EQ(platform.boxes.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(platform.boxes[i].text, expected[i].first);
        EXPECT_EQ(platform.boxes[i].caption, expected[i].second);
        EXPECT_EQ(platform.boxes[i].buttons, BoxButtons::Ok);
    }
}

TEST_F(KeyboardTest, KeypadZeroSelectsTheNearestPointInThePanesPlane) {
    putPoint(0, 30, 0, 30, 2, {1, 1, 1, 1});
    putPoint(3, 4, -50, 0, 1, {2, 2, 2, 2}); // near in the top view, far in the front view
    putPoint(5, -4, 0, 0, 1, {3, 3, 3, 3});  // as near as slot 3 in the top view
    putPoint(6, 0, 100, 0, 0, {4, 4, 4, 4}); // free
    moveTo(150, 165);                        // top pane, world (0, 0, 0)
    press(vk::numpad(0));
    EXPECT_EQ(state.pointUsed[0], 1);
    EXPECT_EQ(state.pointUsed[3], 2);
    EXPECT_EQ(state.pointUsed[5], 1);
    EXPECT_EQ(state.pointUsed[6], 0);
    EXPECT_EQ(state.currentParams, (std::array<int8_t, 4>{2, 2, 2, 2}));

    moveTo(150, 455); // front pane: slot 3 lies 50 below
    press(vk::numpad(0));
    EXPECT_EQ(state.pointUsed[3], 1);
    EXPECT_EQ(state.pointUsed[5], 2);

    moveTo(440, 455); // side pane: y and z; slots 3 and 5 differ only in x and y
    press(vk::numpad(0));
    EXPECT_EQ(state.pointUsed[5], 2);
    EXPECT_EQ(state.currentParams[0], 3);

    for (auto [x, y] : {std::pair{440, 165}, std::pair{700, 300}}) {
        moveTo(x, y); // the 3D pane and no pane have no plane to measure in
        press(vk::numpad(0));
        EXPECT_EQ(state.pointUsed[0], 1);
        EXPECT_EQ(state.pointUsed[5], 2);
        EXPECT_EQ(state.currentParams[0], 3);
    }

    state.pointUsed.fill(0);
    moveTo(150, 165);
    press(vk::numpad(0)); // no point at all
    EXPECT_EQ(state.currentParams[0], 3);
}

} // namespace
} // namespace tavo::testing
