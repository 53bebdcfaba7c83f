#pragma once
// A fresh editor with a scripted platform, and the mouse as the window's message dispatch
// drives it: each move records the previous position, updates the cursor, then drags.

#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/edit/mouse.h"
#include "tests/support/fake_platform.h"

namespace tavo::testing {

inline constexpr int kLeft = 1;
inline constexpr int kRight = 2;

class EditorTest : public ::testing::Test {
  protected:
    EditorState state;
    FakePlatform platform;

    EditorTest() { state.window = &platform; }

    void moveTo(int x, int y, int buttons = 0) {
        state.prevMouseX = state.mouseX;
        state.prevMouseY = state.mouseY;
        state.prevCursorX = state.cursorX;
        state.prevCursorY = state.cursorY;
        state.prevCursorZ = state.cursorZ;
        state.prevHoverView = state.hoverView;
        state.mouseX = x;
        state.mouseY = y;
        updateCursor(state);
        if (buttons == kLeft) {
            onLeftDrag(state);
        } else if (buttons == kRight) {
            onRightDrag(state);
        } else if (buttons == (kLeft | kRight)) {
            onBothDrag(state);
        }
        if (buttons != 0 && state.menuMode == 5 && state.hoverView == 4) {
            recentreCursor(state);
        }
    }

    PointRecord& putPoint(int slot, float x, float y, float z, int used = 1,
                          std::array<int8_t, 4> p = {}) {
        state.points[slot] = PointRecord{x, y, z, 0.0f, p[0], p[1], p[2], p[3]};
        state.pointUsed[slot] = used;
        return state.points[slot];
    }

    // The states of the first `count` slots.
    std::vector<int> slots(int count) {
        return std::vector<int>(state.pointUsed.begin(), state.pointUsed.begin() + count);
    }
};

} // namespace tavo::testing
