#include "pointeditor/edit/edit_session.h"

namespace tavo {

EditSession::EditSession(EditorState& state, EditorHandlers handlers)
    : state_(state), handlers_(std::move(handlers)) {}

template <typename Message> void EditSession::message(bool heldAfter, Message&& body) {
    history_.beginMessage(state_.pointTable);
    body();
    history_.endMessage(state_.pointTable, heldAfter);
    if (!history_.inMessage() && afterMessage_) {
        afterMessage_();
    }
}

void EditSession::mouseMove(int x, int y, bool leftHeld, bool rightHeld) {
    message(leftHeld || rightHeld,
            [&] { dispatchMouseMove(state_, handlers_, x, y, leftHeld, rightHeld); });
}

void EditSession::buttonDown(MouseButton button, bool heldAfter) {
    message(heldAfter, [&] { dispatchButtonDown(state_, handlers_, button); });
}

void EditSession::buttonUp(MouseButton button, bool heldAfter) {
    message(heldAfter, [&] { dispatchButtonUp(state_, handlers_, button); });
}

void EditSession::keyDown(int virtualKey, bool heldAfter) {
    message(heldAfter, [&] { dispatchKeyDown(state_, handlers_, virtualKey); });
}

void EditSession::wheel(int notches, bool heldAfter) {
    message(heldAfter, [&] { dispatchWheel(state_, handlers_, notches); });
}

void EditSession::other(bool heldAfter) {
    message(heldAfter, [&] { dispatchOther(state_, handlers_); });
}

void EditSession::close() {
    message(false, [&] { dispatchClose(state_, handlers_); });
}

void EditSession::run(const std::function<void(EditorState&)>& command, bool heldAfter) {
    message(heldAfter, [&] { command(state_); });
}

bool EditSession::undo(bool buttonHeld) {
    return stepThroughHistory(buttonHeld, &UndoHistory::undo);
}

bool EditSession::redo(bool buttonHeld) {
    return stepThroughHistory(buttonHeld, &UndoHistory::redo);
}

bool EditSession::stepThroughHistory(bool buttonHeld, bool (UndoHistory::*step)(PointTable&)) {
    // A drag's step is still open: its points are not settled yet.
    if (buttonHeld) {
        return false;
    }
    const bool stepped = (history_.*step)(state_.pointTable);
    if (afterMessage_) {
        afterMessage_();
    }
    return stepped;
}

} // namespace tavo
