#pragma once
// The message path of the running editor: each message runs its handlers between the undo
// history's brackets, so that a message that changed the points is one undo step, and is
// followed by its frame. The window turns its events into these calls and nothing else; undo
// and redo are taken here too, where the history is.

#include <functional>
#include <utility>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/edit/message_dispatch.h"
#include "pointeditor/edit/undo_history.h"

namespace tavo {

class EditSession {
public:
    EditSession(EditorState& state, EditorHandlers handlers);

    // Each is one message; heldAfter: a mouse button is still down after it, so a drag's undo
    // step goes on.
    void mouseMove(int x, int y, bool leftHeld, bool rightHeld);
    void buttonDown(MouseButton button, bool heldAfter);
    void buttonUp(MouseButton button, bool heldAfter);
    void keyDown(int virtualKey, bool heldAfter);
    void wheel(int notches, bool heldAfter);
    // Any other event: only its frame.
    void other(bool heldAfter);
    // The window is going away.
    void close();

    // A command that is no event of the window (a desktop shortcut, the question before the
    // window closes), run as one message; the caller draws its frame.
    void run(const std::function<void(EditorState&)>& command, bool heldAfter);

    // Undo and redo act between messages only, and not while a drag holds a step open; false
    // when there was no step to take. The caller draws the frame.
    bool undo(bool buttonHeld);
    bool redo(bool buttonHeld);

    // Inside a message, its boxes and dialogs included.
    bool inMessage() const { return history_.inMessage(); }

    // Called after every outermost message, undo and redo (the window title, recovery); gives
    // back the one it replaces, for its owner to put back when it goes.
    std::function<void()> setAfterMessage(std::function<void()> afterMessage) {
        return std::exchange(afterMessage_, std::move(afterMessage));
    }

    // Draws a frame outside any message: a box or dialog is about to come up over it.
    void frame() { handlers_.drawFrame(state_); }

    const UndoHistory& history() const { return history_; }
    EditorState& state() { return state_; }

private:
    template <typename Message> void message(bool heldAfter, Message&& body);
    bool stepThroughHistory(bool buttonHeld, bool (UndoHistory::*step)(PointTable&));

    EditorState& state_;
    EditorHandlers handlers_;
    UndoHistory history_;
    std::function<void()> afterMessage_;
};

} // namespace tavo
