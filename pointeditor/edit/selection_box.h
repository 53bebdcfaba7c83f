#pragma once
// The selection box of SELECT POINT: begun at (boxStartX, boxStartY, boxStartZ) in pane boxView,
// its other corner is the cursor. Only the pane's two axes are compared; both edges count as
// inside and the corners may come in either order.

#include "pointeditor/data/editor_state.h"

namespace tavo {

bool insideSelectionBox(const EditorState& state, const PointRecord& point);

} // namespace tavo
