#pragma once
// The on-screen menu in the text column: the command rows and the toggle rows, each a label at a
// place. display/ draws these rows and edit/ hit-tests the same rows, so the picture and the
// clicks cannot drift apart.

#include <cstdint>
#include <string_view>

#include "pointeditor/data/editor_state.h"

namespace tavo {

struct MenuRow {
    std::string_view label;
    int32_t mode; // what a click sets menuMode to; MenuNone: drawn, but never chosen nor lit
};

struct ToggleRow {
    std::string_view label;
    int32_t EditorState::*field; // one of the switches
};

inline constexpr MenuRow MenuRows[] = {
    {"◆ NEW POINT", MenuNewPoint},
    {"◆ SELECT POINT", MenuSelectPoint},
    {"◆ MOVE POINT", MenuMovePoint},
    {"◆ DELETE POINT", MenuDeletePoint},
    {"◆ VIEW", MenuView},
    {"◆ LOAD BLOCK", MenuLoadBlock},
    {"◆ SAVE POINT", MenuSavePoint},
    {"◆ LOAD POINT", MenuLoadPoint},
    {"◆ -----", MenuNone},
};

inline constexpr ToggleRow ToggleRows[] = {
    {"▼ GRID LOCK", &EditorState::gridLock},     {"▼ DIRECTION", &EditorState::showDirection},
    {"▼ TOP VIEW", &EditorState::showTopView},   {"▼ FRONT VIEW", &EditorState::showFrontView},
    {"▼ SIDE VIEW", &EditorState::showSideView},
};

// Where the rows' text starts: all at the column's left edge, row n this far down.
inline constexpr int MenuColumnX = 600;
constexpr int menuRowY(int row) {
    return 40 + 30 * row;
}
constexpr int toggleRowY(int row) {
    return 360 + 20 * row;
}

// A row is hit on its mark ("◆", "▼"), whose centre lies this far right of and below where the
// row's text starts: a click whose city-block distance from it is below the radius.
inline constexpr int MarkOffset = 8;
inline constexpr int MenuHitRadius = 14; // the command marks' reaches do not touch
inline constexpr int ToggleHitRadius = 12;

} // namespace tavo
