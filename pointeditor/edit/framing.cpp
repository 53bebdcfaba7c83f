#include "pointeditor/edit/framing.h"

#include <algorithm>
#include <cmath>
#include <optional>

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
    Vector3 low;
    Vector3 high;
};

// The box around the points framed: the selected ones, or every used one when none is selected.
std::optional<Bounds> framedBounds(const PointTable& table) {
    const SlotState wanted = countSelected(table) > 0 ? SlotSelected : SlotUsed;
    std::optional<Bounds> bounds;
    for (int slot = 0; slot < MaxPoints; ++slot) {
        const SlotState used = table.pointUsed[slot];
        if (used == SlotFree || (wanted == SlotSelected && used != SlotSelected)) {
            continue;
        }
        const PointRecord& p = table.points[slot];
        if (!bounds) {
            bounds = Bounds{{p.x, p.y, p.z}, {p.x, p.y, p.z}};
        }
        bounds->low = {std::min(bounds->low.x, p.x), std::min(bounds->low.y, p.y),
                       std::min(bounds->low.z, p.z)};
        bounds->high = {std::max(bounds->high.x, p.x), std::max(bounds->high.y, p.y),
                        std::max(bounds->high.z, p.z)};
    }
    return bounds;
}

// Zoomed out in whole tenths until the widest half of the box fits within the margin; a zoom
// that already fits stays (a lone point, with no width, fits at any zoom).
void zoomToFit(EditorState& state, float widestHalf) {
    const float fitting = (PaneCentre - FrameMargin) / widestHalf;
    if (fitting < state.zoom) {
        state.zoom = std::floor(fitting * 10.0f) / 10.0f;
    }
    limitZoom(state);
}

void placeCamera(EditorState& state, const Vector3& centre, float radius) {
    const float distance =
        std::clamp(radius * WorldScale / std::sin(FieldOfView / 2.0f) * CameraRoom, NearestView,
                   FarPlane / 2.0f);
    const Vector3 ahead = cameraDirection(state);
    state.cameraX = centre.x * WorldScale - ahead.x * distance;
    state.cameraY = centre.y * WorldScale - ahead.y * distance;
    state.cameraZ = centre.z * WorldScale - ahead.z * distance;
}

} // namespace

void frameSelection(EditorState& state) {
    const std::optional<Bounds> bounds = framedBounds(state.pointTable);
    if (!bounds) {
        return;
    }
    const Vector3 centre{(bounds->low.x + bounds->high.x) / 2.0f,
                         (bounds->low.y + bounds->high.y) / 2.0f,
                         (bounds->low.z + bounds->high.z) / 2.0f};
    const Vector3 half{bounds->high.x - centre.x, bounds->high.y - centre.y,
                       bounds->high.z - centre.z};
    // panY and panZ are stored negated.
    state.panX = centre.x;
    state.panY = -centre.y;
    state.panZ = -centre.z;
    zoomToFit(state, std::max({half.x, half.y, half.z}));
    placeCamera(state, centre, std::hypot(half.x, half.y, half.z));
    updateCursor(state); // the world under the pointer has moved
}

} // namespace tavo
