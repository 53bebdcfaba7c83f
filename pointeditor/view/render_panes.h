#pragma once
// The frame of the four view panes, drawn through *state.device and presented into the canvas.

#include "pointeditor/data/editor_state.h"
#include "pointeditor/view/d3dx_math.h"

namespace tavo {

// Renders and presents the 3D, top, front and side panes, in that order, each as a scene of its
// own in the one 280 x 280 back buffer. Needs state.device. With state.retainedPanes, a pane
// whose pixels in the canvas are still right is left as it is (pane_redraw.h). Rebuilds the
// link line list; writes nothing else of the state. A present that reports a lost device
// resets it, and the frame goes on with the next pane.
void renderPanes(EditorState& state);

// The camera's view matrix: from the eye along (cos yaw sin pitch, cos pitch, sin yaw sin
// pitch), +Y up; set as the device's view transform.
void setViewTransform(EditorState& state);
Matrix cameraViewMatrix(const EditorState& state);

// The 3D pane's projection: 70 degrees vertically, square, depth from 0.5 to 240 view units.
Matrix perspectiveProjection();

// The camera's unit look direction.
Vector3 cameraDirection(const EditorState& state);

} // namespace tavo
