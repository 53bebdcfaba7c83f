#include "pointeditor/edit/selection_box.h"

#include "pointeditor/edit/panes.h"

namespace tavo {
namespace {

bool between(float value, float a, float b) {
    return (a <= value && value <= b) || (b <= value && value <= a);
}

} // namespace

bool insideSelectionBox(const EditorState& state, const PointRecord& point) {
    switch (state.boxView) {
    case kTopPane:
        return between(point.x, state.boxStartX, state.cursorX) &&
               between(point.z, state.boxStartZ, state.cursorZ);
    case kFrontPane:
        return between(point.x, state.boxStartX, state.cursorX) &&
               between(point.y, state.boxStartY, state.cursorY);
    case kSidePane:
        return between(point.z, state.boxStartZ, state.cursorZ) &&
               between(point.y, state.boxStartY, state.cursorY);
    default:
        return false;
    }
}

} // namespace tavo
