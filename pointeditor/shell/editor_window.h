#pragma once
// The point editor's one window: a fixed 800 x 600 client area that shows the canvas, and the
// place where Qt's events become the editor's messages. Every event that reaches it is followed
// by exactly one frame.

#include <QtWidgets/QWidget>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/shell/message_dispatch.h"
#include "pointeditor/view/canvas.h"

namespace tavo {

class PointSession;

class EditorWindow : public QWidget {
public:
    EditorWindow(EditorState& state, const Canvas& canvas, EditorHandlers handlers);

    // Draws a frame and shows it at once; for the moment a modal box or dialog comes up.
    void redrawNow();

    // From now on every message runs inside the session (undo steps, shortcuts, the question
    // before closing). Without one the window only dispatches.
    void setPointSession(PointSession* session) { session_ = session; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool dispatchEvent(QEvent* event);
    void afterFrame();

    EditorState& state_;
    const Canvas& canvas_;
    EditorHandlers handlers_;
    PointSession* session_ = nullptr;
    bool frameShown_ = true; // the canvas on screen is the last frame drawn
};

} // namespace tavo
