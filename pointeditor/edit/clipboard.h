#pragma once
// Copy, cut, paste and duplicate of the selected points. The commands reach the system clipboard
// through the platform; what a paste does to the points (where they land, which ids they get,
// whether they fit) is plain functions over the table, below them.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/result.h"
#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/platform.h"

namespace tavo {

// Ctrl+C: the selected points, in slot order, go onto the clipboard; nothing selected leaves
// the clipboard as it was.
void copySelection(EditorState& state);
// Ctrl+X: copies, then deletes the selected points without a question (undo brings them back).
void cutSelection(EditorState& state);
// Ctrl+V: the clipboard's points, placed around the cursor of the 2D pane under the pointer,
// become the selection. Anything that is not points, or points that would not fit, changes
// nothing and is told in a box.
void pasteClipboard(EditorState& state);
// Ctrl+D: a copy of the selection one grid step further along x and z becomes the selection.
void duplicateSelection(EditorState& state);

// The selected points in slot order.
std::vector<PointRecord> selectedPoints(const PointTable& table);

// The clipboard's points: the exact records when the clipboard holds them whole, otherwise its
// text read as the text form; or why there are none to paste (in English: the box adds the
// editor's language around it).
Result<std::vector<PointRecord>, std::string> clipboardPoints(const ClipboardContents& contents);

// Moves points so that the centre of their bounds lands on the cursor of the 2D pane under the
// pointer (its two axes; the third is kept), on the grid when GRID LOCK is on. Over the 3D pane
// or no pane they stay where they were copied.
void placeAtCursor(const EditorState& state, std::vector<PointRecord>& points);

// Gives each point whose id a point of the table already has the lowest id that neither the
// table nor the other points use (0..127 first, then -128..-1); points sharing one id keep
// sharing it. The links among the points (linksOf) follow their targets' new ids; links to
// other points stay. The table and the points together must fit into one table.
void renumberAgainst(const PointTable& table, std::vector<PointRecord>& points);

// Puts the points into the lowest free slots as the new selection; those that find no free slot
// are left out (callers check that they fit first).
void insertAsSelection(PointTable& table, std::span<const PointRecord> points);

} // namespace tavo
