#pragma once
// Undo and redo over whole copies of the points table. The history does not know the commands:
// the message path brackets every message with beginMessage and endMessage, and a message that
// changed the used points becomes one step. A step stays open while a mouse button is held, so
// a whole drag is one step however many moves it has. Selection alone makes no step, but every
// step restores the selection it began with.

#include <cstddef>
#include <deque>

#include "pointeditor/data/point_table.h"

namespace tavo {

class UndoHistory {
public:
    static constexpr std::size_t Capacity = 1000; // steps kept; the oldest go first

    // Messages nest while a box or dialog of an outer message is open; only the outermost one
    // makes a step.
    void beginMessage(const PointTable& table);
    void endMessage(const PointTable& table, bool buttonHeld);

    // Each puts back a whole table and returns whether there was a step to take. Neither acts
    // inside a message (a box or dialog is open) or while a step is held open by a drag.
    bool undo(PointTable& table);
    bool redo(PointTable& table);

    // Inside a message, its boxes and dialogs included.
    bool inMessage() const { return depth_ != 0; }

    std::size_t undoSteps() const { return undo_.size(); }
    std::size_t redoSteps() const { return redo_.size(); }

private:
    bool busy() const { return depth_ != 0 || open_; }

    std::deque<PointTable> undo_;
    std::deque<PointTable> redo_;
    PointTable before_{};
    bool open_ = false; // before_ holds the table at the start of a step not yet ended
    int depth_ = 0;
};

} // namespace tavo
