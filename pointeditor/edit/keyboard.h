#pragma once
// Every key command, by Windows virtual-key code (see virtual_keys.h).

#include "pointeditor/data/editor_state.h"

namespace tavo {

void onKeyDown(EditorState& state, int key);

} // namespace tavo
