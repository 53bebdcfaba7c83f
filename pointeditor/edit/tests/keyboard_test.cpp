#include <gtest/gtest.h>

#include "pointeditor/edit/keyboard.h"
#include "pointeditor/edit/tests/edit_fixture.h"
#include "pointeditor/edit/virtual_keys.h"

namespace tavo::testing {
namespace {

using Params = std::array<int8_t, 4>;

class KeyboardTest : public EditorTest {
  protected:
    void press(int key, int times = 1) {
        for (int i = 0; i < times; ++i) {
            onKeyDown(state, key);
        }
    }
};

TEST_F(KeyboardTest, ParameterKeysWrapInEightBits) {
    press('A', 128);
    EXPECT_EQ(state.currentParams[0], -128);
    press('Z');
    press('S', 3);
    press('X');
    press('D');
    press('C', 2);
    press('V', 129); // down past -128 to 127
    press(vk::numpad(1));
    EXPECT_EQ(state.currentParams, (Params{127, 2, -1, 127}));
}

TEST_F(KeyboardTest, ZoomKeysAndTheLimitsThatEveryKeyApplies) {
    press(vk::Add);
    EXPECT_EQ(state.zoom, 2.0f + 0.1f);
    press(vk::Subtract, 25);
    EXPECT_TRUE(state.zoom == 0.1f && state.gridStep == 50.0f);
    state.zoom = 10.0f;
    press(vk::Add);
    EXPECT_TRUE(state.zoom == 10.0f && state.gridStep == 0.5f);
    for (int key : {int('A'), vk::function(2), vk::Right, vk::numpad(4), vk::numpad(0), 0x99}) {
        state.zoom = 25.0f;
        state.gridStep = 1.0f;
        press(key);
        EXPECT_TRUE(state.zoom == 10.0f && state.gridStep == 0.5f) << key;
        state.zoom = -3.0f;
        press(key);
        EXPECT_EQ(state.zoom, 0.1f) << key;
    }
    state.zoom = 2.0f;
    press(vk::function(3));
    EXPECT_TRUE(state.zoom == 1.0f && state.savedZoom == 2.0f && state.gridStep == 5.0f);
    press(vk::function(3));
    EXPECT_TRUE(state.zoom == 2.0f && state.savedZoom == 1.0f && state.gridStep == 2.5f);
}

TEST_F(KeyboardTest, KeypadPansTheTwoDPaneUnderTheMouseFiftyPixelsAStep) {
    // Mouse x, y, key, then panX, panY, panZ; one step is 25 world units at zoom 2.
    const int cases[][6] = {
        {150, 165, 4, -25, 0, 0}, {150, 165, 6, 25, 0, 0},  {150, 165, 8, 0, 0, -25},
        {150, 165, 5, 0, 0, 25},  {150, 455, 4, -25, 0, 0}, {150, 455, 8, 0, -25, 0},
        {150, 455, 5, 0, 25, 0},  {440, 455, 4, 0, 0, 25},  {440, 455, 6, 0, 0, -25},
        {440, 455, 8, 0, -25, 0}, {440, 165, 8, 0, 0, 0},   {700, 300, 4, 0, 0, 0},
        {150, 165, 2, 0, 0, 0}};
    for (auto [x, y, digit, panX, panY, panZ] : cases) {
        state.panX = state.panY = state.panZ = 0.0f;
        moveTo(x, y);
        press(vk::numpad(digit));
        EXPECT_TRUE(state.panX == panX && state.panY == panY && state.panZ == panZ)
            << x << "," << y << " keypad " << digit;
    }
}

TEST_F(KeyboardTest, SelectionKeysTurnCopyAndApply) {
    putPoint(4, 0, 0, 0, 2, {1, 2, 3, 4}).r = 3.0f;
    putPoint(9, 0, 0, 0, 2, {5, -6, 7, -8});
    putPoint(12, 0, 0, 0, 1, {9, 9, 9, 9});
    press(vk::Right, 2);
    press(vk::Left, 5);
    EXPECT_FLOAT_EQ(state.points[4].r, 3.0f - 3 * 0.3926990f); // not wrapped
    EXPECT_EQ(state.points[12].r, 0.0f);
    press(vk::function(11)); // the highest selected slot's parameters remain
    EXPECT_EQ(state.currentParams, (Params{5, -6, 7, -8}));
    state.currentParams = {3, 1, 20, 21};
    press(vk::function(12));
    EXPECT_TRUE(state.points[4].p3 == 20 && state.points[9].p1 == 3 && state.points[12].p1 == 9);
    state.pointUsed.fill(0);
    press(vk::function(11)); // nothing selected: nothing copied
    EXPECT_EQ(state.currentParams, (Params{3, 1, 20, 21}));
}

TEST_F(KeyboardTest, InformationBoxesInBothLanguages) {
    putPoint(0, 0, 0, 0, 2, {-1, 2, -3, 5});
    putPoint(1, 0, 0, 0, 1, {6, 0, 0, 7});
    putPoint(2, 0, 0, 0, 2, {4, 0, 127, -128});
    putPoint(3, 0, 0, 0, 1, {1, 0, 0, 0});
    putPoint(4, 0, 0, 0, 0, {1, 0, 0, 9}); // free: neither found nor counted
    press(vk::function(2));
    press(vk::Return);
    for (int english : {1, 0}) {
        state.english = english;
        state.currentParams[3] = 5;
        press(vk::function(9));
        state.currentParams[3] = 9;
        press(vk::function(9));
        press(vk::function(8));
    }
    state.pointUsed.fill(0);
    press(vk::Return); // nothing selected: no box
    const std::pair<const char*, const char*> expected[] = {
        {"POINT COUNT 4 / 200", "POINT COUNT"},
        {"[-1] [2] [-3] [5]", "POINT PARAM"},
        {"[4] [0] [127] [-128]", "POINT PARAM"},
        {"FOUND : 5", "ID-NUMBER SEARCH"},
        {"NOT FOUND : 9", "ID-NUMBER SEARCH"},
        {"HUMAN COUNT 2", "HUMAN COUNT"},
        {"5 番は既に使用されています", "識別番号確認"},
        {"9 番は未使用です", "識別番号確認"},
        {"2 人", "配置人数"},
    };
    ASSERT_EQ(platform.boxes.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(platform.boxes[i].text, expected[i].first);
        EXPECT_EQ(platform.boxes[i].caption, expected[i].second);
        EXPECT_TRUE(platform.boxes[i].buttons == BoxButtons::Ok &&
                    platform.boxes[i].icon == BoxIcon::None);
    }
}

TEST_F(KeyboardTest, KeypadZeroSelectsTheNearestPointInThePanesPlane) {
    putPoint(0, 30, 0, 30, 2, {1, 1, 1, 1});
    putPoint(3, 4, -50, 0, 1, {2, 2, 2, 2}); // near in the top view, far in the front view
    putPoint(5, -4, 0, 0, 1, {3, 3, 3, 3});  // as near as slot 3 in the top view
    putPoint(6, 0, 0, 0, 0);                 // free
    const int moves[][3] = {{150, 165, 3}, {150, 455, 5}, {440, 455, 5}}; // top, front, side
    for (auto [x, y, nearest] : moves) {
        moveTo(x, y);
        press(vk::numpad(0));
        EXPECT_EQ(slots(7),
                  (std::vector<int>{1, 0, 0, nearest == 3 ? 2 : 1, 0, nearest == 5 ? 2 : 1, 0}));
        EXPECT_EQ(state.currentParams[0], nearest == 3 ? 2 : 3);
    }
    for (auto [x, y] : {std::pair{440, 165}, std::pair{700, 300}}) {
        moveTo(x, y); // the 3D pane and no pane have no plane to measure in
        press(vk::numpad(0));
        EXPECT_TRUE(state.pointUsed[5] == 2 && state.currentParams[0] == 3);
    }
}

} // namespace
} // namespace tavo::testing
