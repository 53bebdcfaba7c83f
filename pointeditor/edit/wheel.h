#pragma once
// The mouse wheel: over a 2D pane it zooms the three 2D panes about the pointer, over the 3D
// pane it flies the camera along its view direction.

#include "pointeditor/data/editor_state.h"

namespace tavo {

inline constexpr float WheelZoomStep = 0.1f; // zoom per notch, as a pixel of the right drag
inline constexpr float WheelFlyStep = 4.0f;  // camera units per notch

// notches: whole notches, positive away from the user (zoom in, fly ahead).
void turnWheel(EditorState& state, int notches);

} // namespace tavo
