#pragma once
// Where the world lands in each pane: the 2D panes' pixel mapping and the 3D pane's camera and
// projection. Drawing uses them to draw; editing uses them to know what lies under the pointer.

#include "pointeditor/data/d3dx_math.h"
#include "pointeditor/data/editor_state.h"

namespace tavo {

struct PanePixel {
    float x;
    float y;
};

// Where world point (x, y, z) lies in TopPane, FrontPane or SidePane at the current zoom and pan.
// Top: +X right, +Z up; front: +X right, +Y up; side: +Z right, +Y up. panY and panZ are stored
// negated.
PanePixel mapToPane(const EditorState& state, int pane, float x, float y, float z);

// The 3D pane's projection: 70 degrees vertically, square, depth from 0.5 to 240 view units.
inline constexpr float FieldOfView = 1.2217302f; // about 70 degrees
inline constexpr float NearPlane = 0.5f; // view units: the 3D pane draws the world at half size
inline constexpr float FarPlane = 240.0f;
inline constexpr float WorldScale = 0.5f;
Matrix perspectiveProjection();

// The camera's unit look direction.
Vector3 cameraDirection(const EditorState& state);

// The camera's view matrix: from the eye along cameraDirection, +Y up.
Matrix cameraViewMatrix(const EditorState& state);

} // namespace tavo
