#include "pointeditor/edit/wheel.h"

#include "pointeditor/data/pane_layout.h"
#include "pointeditor/data/pane_projection.h"
#include "pointeditor/edit/mouse.h"
#include "pointeditor/edit/zoom.h"

namespace tavo {
namespace {

// The zoom steps as the right drag's does, and the pan follows so that the world point under the
// pointer (the cursor) is drawn under it again.
void zoomAboutPointer(EditorState& state, int notches) {
    const int pane = state.hoverView;
    const PaneOrigin origin = paneOrigin(pane);
    const float dx = static_cast<float>(state.mouseX - origin.left) - PaneCentre;
    const float dy = static_cast<float>(state.mouseY - origin.top) - PaneCentre;
    const double stepped = state.zoom + notches * static_cast<double>(WheelZoomStep);
    state.zoom = roundToTenth(static_cast<float>(stepped));
    limitZoom(state);
    const float across = dx / state.zoom;
    const float down = dy / state.zoom;
    // The inverse of the cursor's mapping, solved for the pan; panY and panZ are stored negated.
    switch (pane) {
    case TopPane:
        state.panX = state.cursorX - across;
        state.panZ = -state.cursorZ - down;
        break;
    case FrontPane:
        state.panX = state.cursorX - across;
        state.panY = -state.cursorY - down;
        break;
    default:
        state.panZ = across - state.cursorZ;
        state.panY = -state.cursorY - down;
        break;
    }
}

void flyCamera(EditorState& state, int notches) {
    const Vector3 ahead = cameraDirection(state);
    const float distance = static_cast<float>(notches) * WheelFlyStep;
    state.cameraX += ahead.x * distance;
    state.cameraY += ahead.y * distance;
    state.cameraZ += ahead.z * distance;
}

} // namespace

void turnWheel(EditorState& state, int notches) {
    switch (state.hoverView) {
    case TopPane:
    case FrontPane:
    case SidePane:
        zoomAboutPointer(state, notches);
        break;
    case PerspectivePane:
        flyCamera(state, notches);
        break;
    default:
        return; // over no pane the wheel does nothing
    }
    updateCursor(state);
}

} // namespace tavo
