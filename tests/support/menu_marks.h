#pragma once
// Where a test clicks to choose a menu command or flip a switch: the centre of the row's mark,
// taken from the menu table the editor draws and hit-tests.

#include <utility>

#include "pointeditor/data/menu_layout.h"

namespace tavo::testing {

// The mark of the command row that sets `mode` (MenuNone: the row of dashes).
constexpr std::pair<int, int> menuMark(int32_t mode) {
    int row = 0;
    while (MenuRows[row].mode != mode) {
        ++row;
    }
    return {MenuColumnX + MarkOffset, menuRowY(row) + MarkOffset};
}

// The mark of the switch that is `field`.
constexpr std::pair<int, int> toggleMark(int32_t EditorState::*field) {
    int row = 0;
    while (ToggleRows[row].field != field) {
        ++row;
    }
    return {MenuColumnX + MarkOffset, toggleRowY(row) + MarkOffset};
}

} // namespace tavo::testing
