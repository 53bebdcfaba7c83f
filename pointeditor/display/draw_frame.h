#pragma once
// The whole picture of one frame: the text column through the window's drawText, then the four
// panes when the device exists.

#include "pointeditor/data/editor_state.h"

namespace tavo {

void drawFrame(EditorState& state);

} // namespace tavo
