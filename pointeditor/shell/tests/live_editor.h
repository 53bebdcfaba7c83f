#pragma once
// The real window with the real device, platform and overlay, as the program runs them.

#include <memory>

#include "pointeditor/display/draw_frame.h"
#include "pointeditor/shell/device_session.h"
#include "pointeditor/shell/editor_window.h"
#include "pointeditor/shell/qt_platform.h"

namespace tavo::testing {

struct LiveEditor {
    LiveEditor() {
        state->platform = &platform;
        state->english = 1;
        session.initDevice(*state);
    }
    ~LiveEditor() { session.releaseDevice(*state); }

    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::unique_ptr<Canvas> canvas = std::make_unique<Canvas>();
    DeviceSession session{*canvas};
    EditSession edits{*state, editorHandlers([this](const EditorState& s) {
                          drawFrame(s, session, session.frameTargets());
                      })};
    EditorWindow window{edits, *canvas};
    QtPlatform platform{&window};
};

} // namespace tavo::testing
