#include "pointeditor/edit/framing.h"

#include <algorithm>
#include <cmath>

#include "pointeditor/data/pane_layout.h"
#include "pointeditor/data/pane_projection.h"
#include "pointeditor/data/selection.h"
#include "pointeditor/edit/mouse.h"
#include "pointeditor/edit/zoom.h"

namespace tavo {
namespace {

// Pixels left free between the framed points and each 2D pane's edge.
constexpr float FrameMargin = 20.0f;
// The camera stands this much farther off than the nearest place from which the points' bounding
// sphere fills the field of view, and never nearer than NearestView camera units, so a lone point
// is seen with room around its marker.
constexpr float CameraRoom = 1.15f;
constexpr float NearestView = 10.0f;

struct Bounds {
    float low[3];
    float high[3];
};

// The box around the points framed: the selected ones, or every used one when none is selected.
bool framedBounds(const PointTable& table, Bounds& bounds) {
    const SlotState wanted = countSelected(table) > 0 ? SlotSelected : SlotUsed;
    bool any = false;
    for (int slot = 0; slot < MaxPoints; ++slot) {
        const SlotState used = table.pointUsed[slot];
        if (used == SlotFree || (wanted == SlotSelected && used != SlotSelected)) {
            continue;
        }
        const PointRecord& p = table.points[slot];
        const float at[3] = {p.x, p.y, p.z};
        for (int axis = 0; axis < 3; ++axis) {
            bounds.low[axis] = any ? std::min(bounds.low[axis], at[axis]) : at[axis];
            bounds.high[axis] = any ? std::max(bounds.high[axis], at[axis]) : at[axis];
        }
        any = true;
    }
    return any;
}

// Zoomed out in whole tenths until the widest half of the box fits within the margin; a zoom
// that already fits stays.
void zoomToFit(EditorState& state, float widestHalf) {
    if (widestHalf <= 0.0f) {
        return;
    }
    const float fitting = (PaneCentre - FrameMargin) / widestHalf;
    if (fitting < state.zoom) {
        state.zoom = std::floor(fitting * 10.0f) / 10.0f;
    }
    limitZoom(state);
}

void placeCamera(EditorState& state, const float centre[3], float radius) {
    const float distance =
        std::clamp(radius * WorldScale / std::sin(FieldOfView / 2.0f) * CameraRoom, NearestView,
                   FarPlane / 2.0f);
    const Vector3 ahead = cameraDirection(state);
    state.cameraX = centre[0] * WorldScale - ahead.x * distance;
    state.cameraY = centre[1] * WorldScale - ahead.y * distance;
    state.cameraZ = centre[2] * WorldScale - ahead.z * distance;
}

} // namespace

void frameSelection(EditorState& state) {
    Bounds bounds{};
    if (!framedBounds(state.pointTable, bounds)) {
        return;
    }
    float centre[3];
    float half[3];
    for (int axis = 0; axis < 3; ++axis) {
        centre[axis] = (bounds.low[axis] + bounds.high[axis]) / 2.0f;
        half[axis] = (bounds.high[axis] - bounds.low[axis]) / 2.0f;
    }
    // panY and panZ are stored negated.
    state.panX = centre[0];
    state.panY = -centre[1];
    state.panZ = -centre[2];
    zoomToFit(state, std::max({half[0], half[1], half[2]}));
    placeCamera(state, centre, std::hypot(half[0], half[1], half[2]));
    updateCursor(state); // the world under the pointer has moved
}

} // namespace tavo
