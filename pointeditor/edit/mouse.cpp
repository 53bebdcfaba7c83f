#include "pointeditor/edit/mouse.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "pointeditor/data/pane_layout.h"
#include "pointeditor/data/platform.h"
#include "pointeditor/data/selection.h"
#include "pointeditor/edit/menu.h"
#include "pointeditor/edit/point_pick.h"
#include "pointeditor/edit/selection_box.h"
#include "pointeditor/edit/surfaces.h"
#include "pointeditor/edit/wheel.h"
#include "pointeditor/edit/zoom.h"

namespace tavo {
namespace {

constexpr int PaneHalf = PaneSize / 2; // the hit test includes both edges

constexpr float Degree = 0.017453289f;   // pi / 180
constexpr float MinPitch = 0.017453289f; // 1 degree from straight up
constexpr float MaxPitch = 3.1241386f;   // 1 degree from straight down
constexpr float QuarterTurn = 1.570796f;

// The camera stands at twice its fields in world units; the 3D pane's cursor is this far ahead.
constexpr float CursorReach = 40.0f;

void selectedPointsMoveBy(EditorState& state, float dx, float dy, float dz) {
    forEachSelected(state.pointTable, [dx, dy, dz](int, PointRecord& point) {
        point.x += dx;
        point.y += dy;
        point.z += dz;
    });
}

float snapToGrid(float value, float step) {
    return roundHalfAway(value / step) * step;
}

} // namespace

float roundHalfAway(float value) {
    // Kept in floating point so that values beyond the int32 range cannot overflow.
    float whole = std::trunc(value);
    if (std::fabs(value - whole) < 0.5f) {
        return whole;
    }
    return value >= 0.0f ? whole + 1.0f : whole - 1.0f;
}

void updateCursor(EditorState& state) {
    // The rectangles do not overlap, so the order of the search does not matter.
    for (int pane = TopPane; pane <= PerspectivePane; ++pane) {
        const PaneOrigin origin = paneOrigin(pane);
        int dxPixels = state.mouseX - (origin.left + PaneHalf);
        int dyPixels = state.mouseY - (origin.top + PaneHalf);
        if (std::abs(dxPixels) > PaneHalf || std::abs(dyPixels) > PaneHalf) {
            continue;
        }
        state.hoverView = pane;
        float dx = static_cast<float>(dxPixels);
        float dy = static_cast<float>(dyPixels);
        // The exact inverse of the panes' drawing mapping; panY and panZ hold negated
        // coordinates, so the fixed axis of each pane is the one its centre shows.
        switch (pane) {
        case TopPane:
            state.cursorX = dx / state.zoom + state.panX;
            state.cursorZ = -(dy / state.zoom + state.panZ);
            state.cursorY = -state.panY;
            break;
        case FrontPane:
            state.cursorX = dx / state.zoom + state.panX;
            state.cursorY = -(dy / state.zoom + state.panY);
            state.cursorZ = -state.panZ;
            break;
        case SidePane:
            state.cursorX = state.panX;
            state.cursorZ = dx / state.zoom - state.panZ;
            state.cursorY = -(dy / state.zoom + state.panY);
            break;
        default: {
            float sinPitch = std::sin(state.cameraPitch);
            state.cursorX =
                2.0f * state.cameraX + CursorReach * std::cos(state.cameraYaw) * sinPitch;
            state.cursorY = 2.0f * state.cameraY + CursorReach * std::cos(state.cameraPitch);
            state.cursorZ =
                2.0f * state.cameraZ + CursorReach * std::sin(state.cameraYaw) * sinPitch;
            break;
        }
        }
        updateSurfaceCursor(state);
        return;
    }
    state.hoverView = NoPane;
    state.cursorX = 0.0f;
    state.cursorY = 0.0f;
    state.cursorZ = 0.0f;
    updateSurfaceCursor(state);
}

void onLeftDrag(EditorState& state) {
    if (state.leftPressPicked) {
        return;
    }
    float dx = static_cast<float>(state.prevMouseX - state.mouseX);
    float dy = static_cast<float>(state.prevMouseY - state.mouseY);
    if (state.menuMode == MenuView) {
        switch (state.hoverView) {
        case PerspectivePane:
            // Two degrees per pixel; dragging right turns left, dragging down tilts down.
            state.cameraYaw += 2.0f * dx * Degree;
            state.cameraPitch += 2.0f * -dy * Degree;
            if (state.cameraPitch < MinPitch) {
                state.cameraPitch = MinPitch;
            } else if (state.cameraPitch > MaxPitch) {
                state.cameraPitch = MaxPitch;
            }
            break;
        case TopPane: // grab and drag: the picture follows the mouse
            state.panX += dx / state.zoom;
            state.panZ += dy / state.zoom;
            break;
        case FrontPane:
            state.panX += dx / state.zoom;
            state.panY += dy / state.zoom;
            break;
        case SidePane:
            state.panZ += -dx / state.zoom;
            state.panY += dy / state.zoom;
            break;
        default:
            break;
        }
    } else if (state.menuMode == MenuMovePoint) {
        // In the 3D pane the cursor follows the camera alone, so nothing moves there; a move
        // that crossed panes compares cursors of different planes and is ignored.
        if (state.hoverView != NoPane && state.hoverView == state.prevHoverView) {
            selectedPointsMoveBy(state, state.cursorX - state.prevCursorX,
                                 state.cursorY - state.prevCursorY,
                                 state.cursorZ - state.prevCursorZ);
        }
    }
}

void onRightDrag(EditorState& state) {
    if (state.menuMode != MenuView) {
        return;
    }
    if (state.hoverView == PerspectivePane) {
        // Mouse up flies along the view direction, sideways at right angles to the heading;
        // one camera unit (two world units) per pixel.
        float forward = static_cast<float>(state.prevMouseY - state.mouseY);
        float side = static_cast<float>(state.prevMouseX - state.mouseX);
        float across = state.cameraYaw + QuarterTurn;
        float sinPitch = std::sin(state.cameraPitch);
        state.cameraY += forward * std::cos(state.cameraPitch);
        state.cameraX += forward * std::cos(state.cameraYaw) * sinPitch + side * std::cos(across);
        state.cameraZ += forward * std::sin(state.cameraYaw) * sinPitch + side * std::sin(across);
    } else if (state.hoverView != NoPane) {
        // Mouse up zooms in, a tenth per pixel, shared by the three panes.
        double stepped = state.zoom + (state.prevMouseY - state.mouseY) * 0.1;
        state.zoom = roundToTenth(static_cast<float>(stepped));
        limitZoom(state);
    }
}

void onBothDrag(EditorState& state) {
    if (state.menuMode != MenuView || state.hoverView != PerspectivePane) {
        return;
    }
    float rise = static_cast<float>(state.prevMouseY - state.mouseY);
    float side = static_cast<float>(state.prevMouseX - state.mouseX);
    float across = state.cameraYaw + QuarterTurn;
    state.cameraY += rise;
    state.cameraX += side * std::cos(across);
    state.cameraZ += side * std::sin(across);
}

void recentreCursor(EditorState& state) {
    constexpr int CentreX = paneOrigin(PerspectivePane).left + PaneHalf;
    constexpr int CentreY = paneOrigin(PerspectivePane).top + PaneHalf;
    if (state.platform != nullptr) {
        state.platform->warpPointer(CentreX, CentreY);
    }
    // The next move's difference is measured from the centre.
    state.mouseX = CentreX;
    state.mouseY = CentreY;
}

void onLeftUp(EditorState& state) {
    if (std::exchange(state.leftPressPicked, false)) {
        return;
    }
    if (state.gridLock != 1 || state.hoverView == NoPane) {
        return;
    }
    if (state.menuMode == MenuMovePoint) {
        if (state.hoverView != state.prevHoverView) {
            return;
        }
        forEachSelected(state.pointTable, [step = state.gridStep](int, PointRecord& point) {
            point.x = snapToGrid(point.x, step);
            point.y = snapToGrid(point.y, step);
            point.z = snapToGrid(point.z, step);
        });
    } else if (state.menuMode == MenuView) {
        state.panX = snapToGrid(state.panX, state.gridStep);
        state.panY = snapToGrid(state.panY, state.gridStep);
        state.panZ = snapToGrid(state.panZ, state.gridStep);
    }
}

void onWheel(EditorState& state, int notches) {
    turnWheel(state, notches);
}

void onRightDown(EditorState& state) {
    if (state.menuMode == MenuMovePoint) {
        state.menuMode = MenuSelectPoint;
        state.boxView = NoPane;
        return;
    }
    if (state.menuMode != MenuSelectPoint) {
        return;
    }
    if (state.hoverView != state.boxView) {
        // A right click away from any begun box switches from selecting to moving.
        state.menuMode = MenuMovePoint;
        state.boxView = NoPane;
        return;
    }
    if (state.boxView == NoPane) {
        return;
    }
    // Narrow the selection to the box.
    forEachSelected(state.pointTable, [&state](int slot, const PointRecord& point) {
        if (!insideSelectionBox(state, point)) {
            state.pointTable.pointUsed[slot] = SlotUsed;
        }
    });
    state.boxView = NoPane;
}

void onLeftButtonDown(EditorState& state) {
    state.clashingIds = 0; // the note of an id clash lasts until the next command
    state.pointsWithoutFloor = 0;
    state.leftPressPicked = controlClick(state);
    if (state.leftPressPicked) {
        return;
    }
    clickMenu(state);
    // The command runs in the same click that chose it, so the commands that act at once need
    // no second click.
    runMenuCommand(state);
}

} // namespace tavo
