#include "pointeditor/edit/undo_history.h"

namespace tavo {

void UndoHistory::beginMessage(const PointTable& table) {
    if (depth_++ == 0 && !open_) {
        before_ = table;
        open_ = true;
    }
}

void UndoHistory::endMessage(const PointTable& table, bool buttonHeld) {
    if (--depth_ != 0 || buttonHeld || !open_) {
        return;
    }
    open_ = false;
    if (sameUsedPoints(before_, table)) {
        return;
    }
    undo_.push_back(before_);
    if (undo_.size() > Capacity) {
        undo_.pop_front();
    }
    redo_.clear();
}

bool UndoHistory::undo(PointTable& table) {
    if (busy() || undo_.empty()) {
        return false;
    }
    redo_.push_back(table);
    table = undo_.back();
    undo_.pop_back();
    return true;
}

bool UndoHistory::redo(PointTable& table) {
    if (busy() || redo_.empty()) {
        return false;
    }
    undo_.push_back(table);
    table = redo_.back();
    redo_.pop_back();
    return true;
}

} // namespace tavo
