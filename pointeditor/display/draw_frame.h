#pragma once
// The whole picture of one frame: the text column onto the text surface, then the four panes
// when there is a device to draw them with. A frame only reads the state.

#include "pointeditor/data/editor_state.h"
#include "pointeditor/display/text_surface.h"
#include "pointeditor/view/frame_targets.h"

namespace tavo {

// targets: null until the device exists; the text column is drawn all the same.
void drawFrame(const EditorState& state, TextSurface& text, const FrameTargets* targets);

} // namespace tavo
