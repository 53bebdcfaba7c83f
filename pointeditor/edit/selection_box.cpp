#include "pointeditor/edit/selection_box.h"

#include "pointeditor/data/editor_state.h"

namespace tavo {
namespace {

bool between(float value, float a, float b) {
    return (a <= value && value <= b) || (b <= value && value <= a);
}

} // namespace

bool insideSelectionBox(const EditorState& state, const PointRecord& point) {
    switch (state.boxView) {
    case TopPane:
        return between(point.x, state.boxStartX, state.cursorX) &&
               between(point.z, state.boxStartZ, state.cursorZ);
    case FrontPane:
        return between(point.x, state.boxStartX, state.cursorX) &&
               between(point.y, state.boxStartY, state.cursorY);
    case SidePane:
        return between(point.z, state.boxStartZ, state.cursorZ) &&
               between(point.y, state.boxStartY, state.cursorY);
    default:
        return false;
    }
}

} // namespace tavo
