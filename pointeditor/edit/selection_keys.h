#pragma once
// The keys that select, delete and frame points besides the letter, digit and function keys:
// Ctrl+A, Ctrl+F (find by id number), Escape, Delete and Home.

#include "pointeditor/data/editor_state.h"

namespace tavo {

// Ctrl+A and Ctrl+F (the Ctrl state as the platform tells it), taken before the letter keys:
// true when key was one of them and has been done, and the plain letter must not act.
bool onControlLetter(EditorState& state, int key);

// Escape, Delete and Home; any other key does nothing here.
void onSelectionKey(EditorState& state, int key);

} // namespace tavo
