#pragma once
// The frame of the four view panes, drawn through *state.device and presented into the canvas.

#include "pointeditor/data/editor_state.h"

namespace tavo {

// Renders and presents the 3D, top, front and side panes. Needs state.device.
void renderPanes(EditorState& state);

} // namespace tavo
