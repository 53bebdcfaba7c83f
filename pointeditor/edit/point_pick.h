#pragma once
// Picking a point by its marker: which point's marker lies under the pointer, where the pane
// under it draws that marker, and the Ctrl clicks that select what they pick. A plain click
// never picks.

#include "pointeditor/data/editor_state.h"

namespace tavo {

// The pointer is on a marker within this many pixels of the marker's drawn centre.
inline constexpr float PickRadius = 6.0f;

// The slot of the used point whose marker is nearest the pointer, within PickRadius, in the pane
// under the pointer (the lowest slot of equally near ones); -1 when there is none, and over no
// pane or a 2D pane that is switched off (it shows no markers). In the 3D pane only markers in
// front of the camera and within its depth range count.
int pickPoint(const EditorState& state);

// A left click with Ctrl held over a pane: the picked point alone becomes the selection (none
// picked: nothing is selected); with Shift too it joins the selection or leaves it (none picked:
// nothing changes). The current parameters become the picked point's. True when the click was
// taken so; over no pane (the menu column) the click is left to the plain click.
bool controlClick(EditorState& state);

} // namespace tavo
