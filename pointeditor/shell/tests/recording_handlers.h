#pragma once
// Handlers that write down what was called, in order, for the dispatch and window tests.

#include <string>
#include <vector>

#include "pointeditor/shell/message_dispatch.h"

namespace tavo::testing {

struct HandlerLog {
    std::vector<std::string> calls;
    int hoverAfterUpdate = 0; // what updateCursor puts into hoverView

    int frames() const {
        int count = 0;
        for (const auto& call : calls) {
            count += call == "drawFrame" ? 1 : 0;
        }
        return count;
    }
};

inline EditorHandlers recordingHandlers(HandlerLog& log) {
    auto note = [&log](const char* name) {
        return [&log, name](EditorState&) { log.calls.emplace_back(name); };
    };
    EditorHandlers handlers;
    handlers.updateCursor = [&log](EditorState& state) {
        log.calls.push_back("updateCursor " + std::to_string(state.mouseX) + "," +
                            std::to_string(state.mouseY));
        state.hoverView = log.hoverAfterUpdate;
    };
    handlers.onLeftDrag = note("onLeftDrag");
    handlers.onRightDrag = note("onRightDrag");
    handlers.onBothDrag = note("onBothDrag");
    handlers.recentreCursor = note("recentreCursor");
    handlers.onLeftButtonDown = note("onLeftButtonDown");
    handlers.onLeftUp = note("onLeftUp");
    handlers.onRightDown = note("onRightDown");
    handlers.onRightUp = note("onRightUp");
    handlers.onKeyDown = [&log](EditorState&, int key) {
        log.calls.push_back("onKeyDown " + std::to_string(key));
    };
    handlers.drawFrame = note("drawFrame");
    return handlers;
}

} // namespace tavo::testing
