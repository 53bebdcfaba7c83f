#include "pointeditor/data/editor_state.h"

#include <atomic>

namespace tavo {

void setZoom(EditorState& state, float zoom) {
    state.zoom = zoom;
    state.gridStep = 5.0f / zoom;
}

Texture::Texture() {
    static std::atomic<uint64_t> made{0};
    serial_ = ++made;
}

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

PointTable currentPoints(const EditorState& state) {
    return PointTable{state.points, state.pointUsed};
}

void restorePoints(EditorState& state, const PointTable& table) {
    state.points = table.points;
    state.pointUsed = table.used;
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
