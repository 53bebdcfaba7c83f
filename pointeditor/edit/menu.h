#pragma once
// The on-screen menu: the eight commands, the five toggles, and the file commands they run.

#include "pointeditor/data/editor_state.h"

namespace tavo {

void onLeftButtonDown(EditorState& state);
void addPoint(EditorState& state, float x, float y, float z);

} // namespace tavo
