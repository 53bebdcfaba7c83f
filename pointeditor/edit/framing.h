#pragma once
// Brings the views to the selection: pans the three 2D panes to its centre, zooms them out until it
// fits, and places the camera to look at it. With no point selected, frames every point in use.
#include "pointeditor/data/editor_state.h"
namespace tavo {
void frameSelection(EditorState& state);
} // namespace tavo
