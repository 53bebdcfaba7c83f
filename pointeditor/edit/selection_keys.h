#pragma once
// The keys that select, delete and frame points besides the letter, digit and function keys:
// Ctrl+A, Ctrl+F (find by id number), Escape, Delete and Home. Each runs before the other key
// commands and, when it is one of these, instead of them.

#include "pointeditor/data/editor_state.h"

namespace tavo {

// True when key (with the Ctrl state the platform tells) was one of these and has been done.
bool onSelectionKey(EditorState& state, int key);

} // namespace tavo
