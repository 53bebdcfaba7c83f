#include "pointeditor/data/editor_state.h"

namespace tavo {

int countUsedPoints(const EditorState& state) {
    int count = 0;
    for (int32_t used : state.pointUsed) {
        if (used != SlotFree) {
            ++count;
        }
    }
    return count;
}

int findPointById(const EditorState& state, int8_t id) {
    for (int i = 0; i < MaxPoints; ++i) {
        if (state.pointUsed[i] != SlotFree && state.points[i].p4 == id) {
            return i;
        }
    }
    return -1;
}

void emptyEditorTables(EditorState& state) {
    for (auto& name : state.textureNames) {
        name[0] = '\0';
    }
    for (auto& block : state.blocks) {
        block.inUse = 0;
    }
    state.pointUsed.fill(SlotFree);
    state.blockDir[0] = '\0';
}

} // namespace tavo
