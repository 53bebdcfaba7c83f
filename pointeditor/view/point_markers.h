#pragma once
// The points as crosses in the 3D pane, and the list of lines that show how points link.

#include <array>
#include <cstdint>

#include "pointeditor/data/editor_state.h"

namespace tavo {

class Device;

// Marker colours by |kind| mod 5; a selected point is SelectedPointColour instead.
inline constexpr std::array<uint32_t, 5> kindPalette = {0xFF323CFF, 0xFFFF8000, 0xFFFF0AFF,
                                                        0xFFFFFF00, 0xFF50A0FF};
inline constexpr uint32_t SelectedPointColour = 0xFF00FF00;

// The colour of the point in `slot` (which must be in use), in every pane.
uint32_t pointColour(const EditorState& state, int slot);

// Three axis-parallel segments per point in use, untextured, into the current 3D scene. Their
// half-length grows as the 2D panes zoom out: (11 - zoom) x 0.6 + 0.1 world units.
void drawPointMarkers(const EditorState& state, Device& device);

// The lines that show how points link, built anew for each frame from the points table.
struct LinkLines {
    std::array<LinkLine, MaxLinkLines> lines{};
    int count = 0;
};

// Path successors and look-through lines, event and human links, and a flat X over every point
// with a special id number (0, -100, -110, -120). Lines beyond MaxLinkLines are dropped.
LinkLines buildLinkLines(const EditorState& state);

} // namespace tavo
