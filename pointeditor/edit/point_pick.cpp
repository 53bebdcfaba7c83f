#include "pointeditor/edit/point_pick.h"

#include <cmath>
#include <optional>

#include "pointeditor/data/pane_layout.h"
#include "pointeditor/data/pane_projection.h"
#include "pointeditor/data/platform.h"
#include "pointeditor/data/selection.h"

namespace tavo {
namespace {

bool paneShown(const EditorState& state, int pane) {
    switch (pane) {
    case TopPane:
        return state.showTopView == 1;
    case FrontPane:
        return state.showFrontView == 1;
    case SidePane:
        return state.showSideView == 1;
    default:
        return true; // the 3D pane has no switch
    }
}

// Where the 3D pane draws a world point: the world scaled, then the camera, then the projection,
// then the viewport; nothing when the point is clipped away (behind the eye, too near, too far).
std::optional<PanePixel> projectToPerspectivePane(const Matrix& toClip, const PointRecord& p) {
    const auto clip = [&](int column) {
        return p.x * toClip.m[0][column] + p.y * toClip.m[1][column] + p.z * toClip.m[2][column] +
               toClip.m[3][column];
    };
    // Depth runs from 0 at the near plane to w at the far one; a point behind the eye has a
    // negative depth too.
    const float depth = clip(2);
    const float w = clip(3);
    if (depth < 0.0f || depth > w) {
        return std::nullopt;
    }
    return PanePixel{(clip(0) / w + 1.0f) * PaneCentre, (1.0f - clip(1) / w) * PaneCentre};
}

} // namespace

int pickPoint(const EditorState& state) {
    const int pane = state.hoverView;
    if (pane < TopPane || pane > PerspectivePane || !paneShown(state, pane)) {
        return -1;
    }
    const Matrix toClip = multiply(
        multiply(D3DXMatrixScaling(WorldScale, WorldScale, WorldScale), cameraViewMatrix(state)),
        perspectiveProjection());
    const float pointerX = static_cast<float>(state.mouseX - paneOrigin(pane).left);
    const float pointerY = static_cast<float>(state.mouseY - paneOrigin(pane).top);
    int nearest = -1;
    float nearestDistance = 0.0f;
    for (int slot = 0; slot < MaxPoints; ++slot) {
        if (state.pointTable.pointUsed[slot] == SlotFree) {
            continue;
        }
        const PointRecord& p = state.pointTable.points[slot];
        const std::optional<PanePixel> at = pane == PerspectivePane
                                                ? projectToPerspectivePane(toClip, p)
                                                : mapToPane(state, pane, p.x, p.y, p.z);
        if (!at) {
            continue;
        }
        const float distance = std::hypot(at->x - pointerX, at->y - pointerY);
        // Strictly nearer only: of equally near markers the lowest slot keeps the pick.
        if (distance <= PickRadius && (nearest < 0 || distance < nearestDistance)) {
            nearest = slot;
            nearestDistance = distance;
        }
    }
    return nearest;
}

bool controlClick(EditorState& state) {
    if (state.platform == nullptr || state.hoverView == NoPane || !state.platform->controlDown()) {
        return false;
    }
    const bool toggling = state.platform->shiftDown();
    const int slot = pickPoint(state);
    if (slot < 0) {
        if (!toggling) {
            clearSelection(state.pointTable);
        }
        return true;
    }
    SlotState& used = state.pointTable.pointUsed[slot];
    if (!toggling) {
        selectOnly(state.pointTable, slot);
    } else {
        used = used == SlotSelected ? SlotUsed : SlotSelected;
    }
    const PointRecord& p = state.pointTable.points[slot];
    state.currentParams = {p.p1, p.p2, p.p3, p.p4};
    return true;
}

} // namespace tavo
