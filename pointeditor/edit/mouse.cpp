#include "pointeditor/edit/mouse.h"

#include <cmath>
#include <cstdlib>

#include "pointeditor/data/platform.h"
#include "pointeditor/edit/panes.h"
#include "pointeditor/edit/selection_box.h"
#include "pointeditor/edit/zoom.h"

namespace tavo {
namespace {

constexpr int kPaneHalf = 140; // panes are 280 x 280; the hit test includes both edges

struct PaneCentre {
    int pane;
    int x;
    int y;
};

// Tested in this order; the rectangles do not overlap.
constexpr PaneCentre kPaneCentres[] = {
    {kTopPane, 150, 165},
    {kFrontPane, 150, 455},
    {kSidePane, 440, 455},
    {kThreeDPane, 440, 165},
};

constexpr float kDegree = 0.017453289f;   // pi / 180
constexpr float kMinPitch = 0.017453289f; // 1 degree from straight up
constexpr float kMaxPitch = 3.1241386f;   // 1 degree from straight down
constexpr float kQuarterTurn = 1.570796f;

// The camera stands at twice its fields in world units; the 3D pane's cursor is this far ahead.
constexpr float kCursorReach = 40.0f;

void selectedPointsMoveBy(EditorState& state, float dx, float dy, float dz) {
    for (int i = 0; i < MaxPoints; ++i) {
        if (state.pointUsed[i] == kSlotSelected) {
            state.points[i].x += dx;
            state.points[i].y += dy;
            state.points[i].z += dz;
        }
    }
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
    for (const PaneCentre& centre : kPaneCentres) {
        int dxPixels = state.mouseX - centre.x;
        int dyPixels = state.mouseY - centre.y;
        if (std::abs(dxPixels) > kPaneHalf || std::abs(dyPixels) > kPaneHalf) {
            continue;
        }
        state.hoverView = centre.pane;
        float dx = static_cast<float>(dxPixels);
        float dy = static_cast<float>(dyPixels);
        // The exact inverse of the panes' drawing mapping; panY and panZ hold negated
        // coordinates, so the fixed axis of each pane is the one its centre shows.
        switch (centre.pane) {
        case kTopPane:
            state.cursorX = dx / state.zoom + state.panX;
            state.cursorZ = -(dy / state.zoom + state.panZ);
            state.cursorY = -state.panY;
            break;
        case kFrontPane:
            state.cursorX = dx / state.zoom + state.panX;
            state.cursorY = -(dy / state.zoom + state.panY);
            state.cursorZ = -state.panZ;
            break;
        case kSidePane:
            state.cursorX = state.panX;
            state.cursorZ = dx / state.zoom - state.panZ;
            state.cursorY = -(dy / state.zoom + state.panY);
            break;
        default: {
            float sinPitch = std::sin(state.cameraPitch);
            state.cursorX =
                2.0f * state.cameraX + kCursorReach * std::cos(state.cameraYaw) * sinPitch;
            state.cursorY = 2.0f * state.cameraY + kCursorReach * std::cos(state.cameraPitch);
            state.cursorZ =
                2.0f * state.cameraZ + kCursorReach * std::sin(state.cameraYaw) * sinPitch;
            break;
        }
        }
        return;
    }
    state.hoverView = kNoPane;
    state.cursorX = 0.0f;
    state.cursorY = 0.0f;
    state.cursorZ = 0.0f;
}

void onLeftDrag(EditorState& state) {
    float dx = static_cast<float>(state.prevMouseX - state.mouseX);
    float dy = static_cast<float>(state.prevMouseY - state.mouseY);
    if (state.menuMode == kModeView) {
        switch (state.hoverView) {
        case kThreeDPane:
            // Two degrees per pixel; dragging right turns left, dragging down tilts down.
            state.cameraYaw += 2.0f * dx * kDegree;
            state.cameraPitch += 2.0f * -dy * kDegree;
            if (state.cameraPitch < kMinPitch) {
                state.cameraPitch = kMinPitch;
            } else if (state.cameraPitch > kMaxPitch) {
                state.cameraPitch = kMaxPitch;
            }
            break;
        case kTopPane: // grab and drag: the picture follows the mouse
            state.panX += dx / state.zoom;
            state.panZ += dy / state.zoom;
            break;
        case kFrontPane:
            state.panX += dx / state.zoom;
            state.panY += dy / state.zoom;
            break;
        case kSidePane:
            state.panZ += -dx / state.zoom;
            state.panY += dy / state.zoom;
            break;
        default:
            break;
        }
    } else if (state.menuMode == kModeMove) {
        // In the 3D pane the cursor follows the camera alone, so nothing moves there; a move
        // that crossed panes compares cursors of different planes and is ignored.
        if (state.hoverView != kNoPane && state.hoverView == state.prevHoverView) {
            selectedPointsMoveBy(state, state.cursorX - state.prevCursorX,
                                 state.cursorY - state.prevCursorY,
                                 state.cursorZ - state.prevCursorZ);
        }
    }
}

void onRightDrag(EditorState& state) {
    if (state.menuMode != kModeView) {
        return;
    }
    if (state.hoverView == kThreeDPane) {
        // Mouse up flies along the view direction, sideways at right angles to the heading;
        // one camera unit (two world units) per pixel.
        float forward = static_cast<float>(state.prevMouseY - state.mouseY);
        float side = static_cast<float>(state.prevMouseX - state.mouseX);
        float across = state.cameraYaw + kQuarterTurn;
        float sinPitch = std::sin(state.cameraPitch);
        state.cameraY += forward * std::cos(state.cameraPitch);
        state.cameraX += forward * std::cos(state.cameraYaw) * sinPitch + side * std::cos(across);
        state.cameraZ += forward * std::sin(state.cameraYaw) * sinPitch + side * std::sin(across);
    } else if (state.hoverView != kNoPane) {
        // Mouse up zooms in, a tenth per pixel, shared by the three panes.
        double stepped = state.zoom + (state.prevMouseY - state.mouseY) * 0.1;
        state.zoom = roundToTenth(static_cast<float>(stepped));
        limitZoom(state);
    }
}

void onBothDrag(EditorState& state) {
    if (state.menuMode != kModeView || state.hoverView != kThreeDPane) {
        return;
    }
    float rise = static_cast<float>(state.prevMouseY - state.mouseY);
    float side = static_cast<float>(state.prevMouseX - state.mouseX);
    float across = state.cameraYaw + kQuarterTurn;
    state.cameraY += rise;
    state.cameraX += side * std::cos(across);
    state.cameraZ += side * std::sin(across);
}

void recentreCursor(EditorState& state) {
    constexpr int kCentreX = 440; // centre of the 3D pane
    constexpr int kCentreY = 165;
    if (state.platform != nullptr) {
        state.platform->warpPointer(kCentreX, kCentreY);
    }
    // The next move's difference is measured from the centre.
    state.mouseX = kCentreX;
    state.mouseY = kCentreY;
}

void onLeftUp(EditorState& state) {
    if (state.gridLock != 1 || state.hoverView == kNoPane) {
        return;
    }
    if (state.menuMode == kModeMove) {
        if (state.hoverView != state.prevHoverView) {
            return;
        }
        for (int i = 0; i < MaxPoints; ++i) {
            if (state.pointUsed[i] == kSlotSelected) {
                PointRecord& point = state.points[i];
                point.x = snapToGrid(point.x, state.gridStep);
                point.y = snapToGrid(point.y, state.gridStep);
                point.z = snapToGrid(point.z, state.gridStep);
            }
        }
    } else if (state.menuMode == kModeView) {
        state.panX = snapToGrid(state.panX, state.gridStep);
        state.panY = snapToGrid(state.panY, state.gridStep);
        state.panZ = snapToGrid(state.panZ, state.gridStep);
    }
}

void onRightDown(EditorState& state) {
    if (state.menuMode == kModeMove) {
        state.menuMode = kModeSelect;
        state.boxView = 0;
        return;
    }
    if (state.menuMode != kModeSelect) {
        return;
    }
    if (state.hoverView != state.boxView) {
        // A right click away from any begun box switches from selecting to moving.
        state.menuMode = kModeMove;
        state.boxView = 0;
        return;
    }
    if (state.boxView == 0) {
        return;
    }
    // Narrow the selection to the box. 3 marks the survivors for the length of this handler.
    for (int i = 0; i < MaxPoints; ++i) {
        if (state.pointUsed[i] != kSlotSelected) {
            continue;
        }
        if (insideSelectionBox(state, state.points[i])) {
            state.pointUsed[i] = 3;
        }
    }
    for (int32_t& used : state.pointUsed) {
        if (used == 2) {
            used = 1;
        } else if (used == 3) {
            used = 2;
        }
    }
    state.boxView = 0;
}

void onRightUp(EditorState&) {}

} // namespace tavo
