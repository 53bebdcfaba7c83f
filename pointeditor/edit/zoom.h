#pragma once
// The zoom of the three 2D panes: its limits, its one-decimal steps and the grid step tied to it.

#include "pointeditor/data/editor_state.h"

namespace tavo {

inline constexpr float MinZoom = 0.1f;
inline constexpr float MaxZoom = 10.0f;

// The value that formatting with one decimal ("%.1f") and parsing back gives, independent of
// the C locale.
float roundToTenth(float value);

// Holds zoom within 0.1..10.0 and sets gridStep so that one grid step is five pixels.
void limitZoom(EditorState& state);

} // namespace tavo
