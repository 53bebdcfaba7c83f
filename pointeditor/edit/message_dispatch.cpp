#include "pointeditor/edit/message_dispatch.h"

#include <cstdint>

namespace tavo {

void dispatchMouseMove(EditorState& state, const EditorHandlers& handlers, int x, int y,
                       bool leftHeld, bool rightHeld) {
    state.prevMouseX = state.mouseX;
    state.prevMouseY = state.mouseY;
    state.prevCursorY = state.cursorY;
    state.prevCursorZ = state.cursorZ;
    state.prevCursorX = state.cursorX;
    state.prevHoverView = state.hoverView;
    state.mouseX = static_cast<uint16_t>(x);
    state.mouseY = static_cast<uint16_t>(y);
    handlers.updateCursor(state);

    const int buttons = (leftHeld ? 1 : 0) | (rightHeld ? 2 : 0);
    if (buttons == 1) {
        handlers.onLeftDrag(state);
    } else if (buttons == 2) {
        handlers.onRightDrag(state);
    } else if (buttons == 3) {
        handlers.onBothDrag(state);
    }
    // The drag handlers see the pane of the new position; the pointer goes back to the 3D pane's
    // centre so that the camera can be turned without the pointer ever leaving the pane.
    if (buttons != 0 && state.menuMode == MenuView && state.hoverView == PerspectivePane) {
        handlers.recentreCursor(state);
    }
    handlers.drawFrame(state);
}

void dispatchButtonDown(EditorState& state, const EditorHandlers& handlers, MouseButton button) {
    if (button == MouseButton::Left) {
        handlers.onLeftButtonDown(state);
    } else {
        handlers.onRightDown(state);
    }
    handlers.drawFrame(state);
}

void dispatchButtonUp(EditorState& state, const EditorHandlers& handlers, MouseButton button) {
    // Only the left button's release ends anything (a drag of MOVE POINT, snapped to the grid).
    if (button == MouseButton::Left) {
        handlers.onLeftUp(state);
    }
    handlers.drawFrame(state);
}

void dispatchKeyDown(EditorState& state, const EditorHandlers& handlers, int virtualKey) {
    if (virtualKey != 0) {
        handlers.onKeyDown(state, virtualKey);
    }
    handlers.drawFrame(state);
}

void dispatchWheel(EditorState& state, const EditorHandlers& handlers, int notches) {
    if (notches != 0) {
        handlers.onWheel(state, notches);
    }
    handlers.drawFrame(state);
}

void dispatchOther(EditorState& state, const EditorHandlers& handlers) {
    handlers.drawFrame(state);
}

void dispatchClose(EditorState& state, const EditorHandlers& handlers) {
    state.running = 0;
    handlers.drawFrame(state);
}

} // namespace tavo
