#pragma once
// A fresh editor on a scripted platform, driven through the window's own message path
// (EditSession): every message an undo step, the mouse keeping its previous position.

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "pointeditor/display/draw_frame.h"
#include "pointeditor/edit/edit_session.h"
#include "pointeditor/edit/keyboard.h"
#include "pointeditor/edit/mouse.h"
#include "tests/support/fake_platform.h"

namespace tavo::testing {

using Params = std::array<int8_t, 4>;
using Slots = std::vector<int>;
using V3 = std::array<float, 3>;
constexpr int Left = 1, Right = 2, Both = 3; // buttons held while the mouse moves

struct Editor {
    EditorState state;
    FakePlatform platform;
    // The real message path; frames draw nothing here (drawing has tests of its own).
    EditSession edits{state, editorHandlers([](const EditorState&) {})};
    std::array<PointRecord, MaxPoints>& pts = state.pointTable.points;
    Editor() { state.platform = &platform; }

    const UndoHistory& history() const { return edits.history(); }
    // Moves the pointer to (x, y), dragging with the buttons held.
    EditorState& moveTo(int x, int y, int buttons = 0) {
        edits.mouseMove(x, y, (buttons & Left) != 0, (buttons & Right) != 0);
        return state;
    }
    // The left button goes down at each place in turn; released there only when asked.
    void click(std::initializer_list<std::pair<int, int>> at, bool release = false) {
        for (auto [x, y] : at) {
            moveTo(x, y);
            edits.buttonDown(MouseButton::Left, true);
            if (release) {
                edits.buttonUp(MouseButton::Left, false);
            }
        }
    }
    void press(int key, int times = 1) {
        for (int i = 0; i < times; ++i) {
            edits.keyDown(key, false);
        }
    }
    // A key, or a click released where it went down, with Ctrl held (and Shift when asked).
    void ctrlPress(int key) {
        platform.control = true;
        press(key);
        platform.control = false;
    }
    void ctrlClick(int x, int y, bool shift = false) {
        platform.control = true, platform.shift = shift;
        click({{x, y}}, true);
        platform.control = platform.shift = false;
    }
    // Each point as slot, slot state, x, y, z, then its parameters.
    void put(const std::vector<std::array<float, 9>>& points) {
        for (const auto& v : points) {
            pts[int(v[0])] = {v[2],         v[3],         v[4],         0,
                              int8_t(v[5]), int8_t(v[6]), int8_t(v[7]), int8_t(v[8])};
            state.pointTable.pointUsed[int(v[0])] = static_cast<SlotState>(v[1]);
        }
    }
    // Every box shown since the last call, each as "text / caption|".
    std::string boxesShown() {
        std::string shown;
        for (const RecordedBox& box : std::exchange(platform.boxes, {})) {
            shown += box.text + " / " + box.caption + "|";
        }
        return shown;
    }
    // The text the frame draws at (x, y) without the spaces that pad it to the window's edge, and
    // how many those are; "none" where nothing is drawn.
    std::pair<std::string, int> textAt(int x, int y) {
        platform.texts.clear();
        drawFrame(state, platform, nullptr);
        for (const RecordedText& t : platform.texts) {
            if (t.x == x && t.y == y) {
                const std::size_t end = t.text.find_last_not_of(' ') + 1;
                return {t.text.substr(0, end), int(t.text.size() - end)};
            }
        }
        return {"none", 0};
    }
    Slots used(int n) const {
        return Slots(state.pointTable.pointUsed.begin(), state.pointTable.pointUsed.begin() + n);
    }
    V3 xyz(int i) const { return {pts[i].x, pts[i].y, pts[i].z}; }
    Params params(int i) const { return {pts[i].p1, pts[i].p2, pts[i].p3, pts[i].p4}; }
    V3 cursor() const { return {state.cursorX, state.cursorY, state.cursorZ}; }
    V3 pan() const { return {state.panX, state.panY, state.panZ}; }
};

} // namespace tavo::testing
