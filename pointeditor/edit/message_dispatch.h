#pragma once
// The editor's messages: what each mouse, button and key event does to EditorState, in which
// order, and the one frame that follows every event. The window turns Qt's events into these
// calls (through EditSession, which makes each an undo step); the handlers are a table so that
// tests can watch the order. The frame is the one handler from above this layer.

#include <functional>

#include "pointeditor/data/editor_state.h"

namespace tavo {

struct EditorHandlers {
    std::function<void(EditorState&)> updateCursor;
    std::function<void(EditorState&)> onLeftDrag;
    std::function<void(EditorState&)> onRightDrag;
    std::function<void(EditorState&)> onBothDrag;
    std::function<void(EditorState&)> recentreCursor;
    std::function<void(EditorState&)> onLeftButtonDown;
    std::function<void(EditorState&)> onLeftUp;
    std::function<void(EditorState&)> onRightDown;
    std::function<void(EditorState&, int)> onKeyDown;
    std::function<void(EditorState&, int)> onWheel; // whole notches, positive away from the user
    std::function<void(const EditorState&)> drawFrame;
};

// The edit operations of the editor itself, and drawFrame for the frame after each message.
EditorHandlers editorHandlers(std::function<void(const EditorState&)> drawFrame);

enum class MouseButton { Left, Right };

// A mouse move to client (x, y) with the given buttons held. The position is kept as the
// unsigned 16-bit values a window message carries, so a pointer dragged left of or above the
// window lands far outside every pane instead of at a negative position.
void dispatchMouseMove(EditorState& state, const EditorHandlers& handlers, int x, int y,
                       bool leftHeld, bool rightHeld);

// Button presses and releases act at the position of the last move, not at their own.
void dispatchButtonDown(EditorState& state, const EditorHandlers& handlers, MouseButton button);
void dispatchButtonUp(EditorState& state, const EditorHandlers& handlers, MouseButton button);

// A key press (auto-repeats too); virtualKey 0 is a key the handler never sees.
void dispatchKeyDown(EditorState& state, const EditorHandlers& handlers, int virtualKey);

// The wheel turned by whole notches (positive away from the user), at the last move's position.
void dispatchWheel(EditorState& state, const EditorHandlers& handlers, int notches);

// Any other event that reaches the window: only the frame.
void dispatchOther(EditorState& state, const EditorHandlers& handlers);

// The window is going away: the run ends after one more frame.
void dispatchClose(EditorState& state, const EditorHandlers& handlers);

} // namespace tavo
