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

void emptyEditorTables(EditorState& state) {
    for (auto& name : state.textureNames) {
        name[0] = '\0';
    }
    for (auto& block : state.blocks) {
        block.inUse = 0;
    }
    state.pointTable.pointUsed.fill(SlotFree);
    state.blockDir[0] = '\0';
}

} // namespace tavo
