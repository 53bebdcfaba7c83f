#pragma once
// Mouse editing and view navigation: which pane and world position lie under the mouse, panning,
// zooming and flying the views in VIEW mode, moving and narrowing the selection.

#include "pointeditor/data/editor_state.h"

namespace tavo {

void updateCursor(EditorState& state);
void onLeftDrag(EditorState& state);
void onRightDrag(EditorState& state);
void onBothDrag(EditorState& state);
void recentreCursor(EditorState& state);
void onLeftUp(EditorState& state);
void onRightDown(EditorState& state);
// The wheel over a pane, by whole notches (positive away from the user).
void onWheel(EditorState& state, int notches);
void onLeftButtonDown(EditorState& state);
float roundHalfAway(float value);

} // namespace tavo
