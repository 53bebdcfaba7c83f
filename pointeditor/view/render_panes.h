#pragma once
// The frame of the four view panes, drawn through the frame's device and presented into the
// canvas. Drawing only reads the state.

#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/pane_projection.h"
#include "pointeditor/view/frame_targets.h"

namespace tavo {

// Renders and presents the 3D, top, front and side panes, in that order, each as a scene of its
// own in the one 280 x 280 back buffer. With retained panes, a pane whose pixels in the canvas
// are still right is left as it is (pane_redraw.h). A present that reports a lost device resets
// it, and the frame goes on with the next pane.
void renderPanes(const EditorState& state, const FrameTargets& targets);

// The camera's view matrix: from the eye along (cos yaw sin pitch, cos pitch, sin yaw sin
// pitch), +Y up; set as the device's view transform.
void setViewTransform(const EditorState& state, Device& device);

} // namespace tavo
