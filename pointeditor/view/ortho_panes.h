#pragma once
// The top, front and side panes: flat line drawings over a fixed grid, in the pixels of the
// 280 x 280 scene (pre-transformed vertices, culling off).

#include <cstdint>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/pane_projection.h"
#include "pointeditor/view/point_markers.h"

namespace tavo {

class Device;

// The fixed grid: lines every 10 pixels, the brighter ones every 50 counted from the centre.
void drawPaneGrid(Device& device);

// Axes, block edges, link lines, points (with headings in the top view), the camera cross and
// the selection box of TopPane, FrontPane or SidePane; any other pane draws nothing.
void drawOrthoPane(const EditorState& state, Device& device, const LinkLines& links, int pane);

// Whether pane `pane` shows the selection box: one is being drawn there in SELECT POINT and the
// pointer is over that pane.
bool selectionBoxShown(const EditorState& state, int pane);

void drawLine2D(Device& device, float x1, float y1, float x2, float y2, uint32_t colour);

// The point square: from 2 pixels left of and above (x, y) to 3 right of and below it, so it
// covers the five pixels x - 2 .. x + 2 and y - 2 .. y + 2.
void drawMarker2D(Device& device, float x, float y, uint32_t colour);

void fillRect2D(Device& device, float x1, float y1, float x2, float y2, uint32_t colour);

} // namespace tavo
