#include "pointeditor/display/draw_frame.h"
#include "pointeditor/edit/keyboard.h"
#include "pointeditor/edit/menu.h"
#include "pointeditor/edit/mouse.h"
#include "pointeditor/shell/message_dispatch.h"

namespace tavo {

EditorHandlers editorHandlers(TextSurface& text, std::function<const FrameTargets*()> targets) {
    return EditorHandlers{
        .updateCursor = updateCursor,
        .onLeftDrag = onLeftDrag,
        .onRightDrag = onRightDrag,
        .onBothDrag = onBothDrag,
        .recentreCursor = recentreCursor,
        .onLeftButtonDown = onLeftButtonDown,
        .onLeftUp = onLeftUp,
        .onRightDown = onRightDown,
        .onRightUp = onRightUp,
        .onKeyDown = onKeyDown,
        .drawFrame = [&text, targets = std::move(targets)](
                         const EditorState& state) { drawFrame(state, text, targets()); },
    };
}

} // namespace tavo
