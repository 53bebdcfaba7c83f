#pragma once
// The on-screen menu: the eight commands, the five toggles, and the file commands they run.

#include "pointeditor/data/editor_state.h"

namespace tavo {

// A left click on the text column: the command whose mark is nearest becomes the mode, or the
// switch whose mark is nearest flips; elsewhere nothing.
void clickMenu(EditorState& state);

// The mode's part of a left click: in the click that chose it, or a later one.
void runMenuCommand(EditorState& state);

void addPoint(EditorState& state, float x, float y, float z);

} // namespace tavo
