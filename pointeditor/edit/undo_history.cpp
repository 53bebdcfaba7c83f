#include "pointeditor/edit/undo_history.h"

namespace tavo {

void UndoHistory::beginMessage(const EditorState& state) {
    if (depth_++ == 0 && !open_) {
        before_ = currentPoints(state);
        open_ = true;
    }
}

void UndoHistory::endMessage(const EditorState& state, bool buttonHeld) {
    if (--depth_ != 0 || buttonHeld || !open_) {
        return;
    }
    open_ = false;
    if (sameUsedPoints(before_, currentPoints(state))) {
        return;
    }
    undo_.push_back(before_);
    if (undo_.size() > Capacity) {
        undo_.pop_front();
    }
    redo_.clear();
}

bool UndoHistory::undo(EditorState& state) {
    if (busy() || undo_.empty()) {
        return false;
    }
    redo_.push_back(currentPoints(state));
    restorePoints(state, undo_.back());
    undo_.pop_back();
    return true;
}

bool UndoHistory::redo(EditorState& state) {
    if (busy() || redo_.empty()) {
        return false;
    }
    undo_.push_back(currentPoints(state));
    restorePoints(state, redo_.back());
    redo_.pop_back();
    return true;
}

} // namespace tavo
