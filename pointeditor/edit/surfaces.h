#pragma once
// Points put onto the map's blocks: the face under the pointer in the 3D pane (a Shift click in
// NEW POINT places its point there) and the floor under each selected point (End drops them onto
// it). Both look at the faces the 3D pane draws, each as its two triangles, from either side.

#include <optional>

#include "pointeditor/data/d3dx_math.h"
#include "pointeditor/data/editor_state.h"

namespace tavo {

// The first point of a face of a block in use that the ray from the camera through pixel
// (x, y) of the 3D pane (0..PaneSize, the centre at PaneCentre) meets between the near and the
// far plane, in world units; nothing when it meets none.
std::optional<Vector3> faceUnderPanePixel(const EditorState& state, int x, int y);

// The height of the highest face of a block in use at or below (x, y, z) whose outline, seen
// from above, contains x and z; nothing when there is none.
std::optional<float> floorBelow(const EditorState& state, float x, float y, float z);

// Part of updateCursor: the face under the pointer while Shift without Ctrl is held over the 3D
// pane, into surfaceHit and surfaceX/Y/Z.
void updateSurfaceCursor(EditorState& state);

// Where a click in NEW POINT places its point: with Shift (without Ctrl) in the 3D pane, on the
// face under the pointer; elsewhere, or where the pointer meets no face, at the cursor.
Vector3 newPointPosition(const EditorState& state);

// End: every selected point drops straight down onto floorBelow; one with nothing below stays,
// and pointsWithoutFloor counts those.
void dropSelectionToFloor(EditorState& state);

} // namespace tavo
