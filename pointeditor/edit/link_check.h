#pragma once
// F5: the link check of `pointtool check`, run over the editor's point table.

#include "pointeditor/data/editor_state.h"

namespace tavo {

// Shows one box in the editor's language with the number of errors and warnings and the first
// findings, and makes the points the findings are about the selection, so that the panes show
// them. With no finding about a point the selection stays as it was.
void runLinkCheck(EditorState& state);

} // namespace tavo
