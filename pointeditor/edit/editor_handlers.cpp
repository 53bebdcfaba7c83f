#include "pointeditor/edit/keyboard.h"
#include "pointeditor/edit/message_dispatch.h"
#include "pointeditor/edit/mouse.h"

namespace tavo {

EditorHandlers editorHandlers(std::function<void(const EditorState&)> drawFrame) {
    return EditorHandlers{
        .updateCursor = updateCursor,
        .onLeftDrag = onLeftDrag,
        .onRightDrag = onRightDrag,
        .onBothDrag = onBothDrag,
        .recentreCursor = recentreCursor,
        .onLeftButtonDown = onLeftButtonDown,
        .onLeftUp = onLeftUp,
        .onRightDown = onRightDown,
        .onKeyDown = onKeyDown,
        .onWheel = onWheel,
        .drawFrame = std::move(drawFrame),
    };
}

} // namespace tavo
