#pragma once
// Ready-made groups of points around the cursor, and the insertion of a path point into a link.
// Parameter 4 of currentParams serves as the next free id number: a path template numbers its
// points from it and leaves it at the first id after them (8-bit, wrapping).

#include "pointeditor/data/editor_state.h"

namespace tavo {

// Keys 1..7: a waiting post, walking loops of 2, 4 and 6 points, running lines of 4 and 8
// points that end in a wait, a tree of random branches. Other numbers do nothing. Points that
// no longer fit into the table are not placed, but the ids advance as if they had been.
void placePathTemplate(EditorState& state, int number);

// Key 0: four copies of the current parameters in a square of side 10; currentParams stays.
void placeParameterSquare(EditorState& state);

// Insert: puts a path point halfway along the link of the lowest selected point S, links S to
// it and it onwards to S's old target, and deselects S. Nothing happens when no point is
// selected, when no point has S's link target as its id, or when the table is full.
void insertPathPoint(EditorState& state);

// Each of the above notes in clashingId and clashingIds the ids its new points got that points
// already in use had before it (key 0's four points share their id by design, among themselves).

} // namespace tavo
