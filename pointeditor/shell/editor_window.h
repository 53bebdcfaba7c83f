#pragma once
// The point editor's one window: a fixed 800 x 600 client area that shows the canvas, and the
// place where Qt's events become the editor's messages (EditSession). Every event that reaches
// it is followed by exactly one frame.

#include <QtWidgets/QWidget>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/edit/edit_session.h"
#include "pointeditor/view/device/canvas.h"

namespace tavo {

class PointSession;

class EditorWindow : public QWidget {
public:
    EditorWindow(EditSession& edits, const Canvas& canvas);

    // Draws a frame and shows it at once; for the moment a modal box or dialog comes up.
    void redrawNow();

    // From now on the desktop shortcuts and the question before closing are the session's.
    // Without one every key is the editor's and the window closes when asked.
    void setPointSession(PointSession* session) { session_ = session; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool dispatchEvent(QEvent* event);
    void afterFrame();

    EditSession& edits_;
    const Canvas& canvas_;
    PointSession* session_ = nullptr;
    int wheelEighths_ = 0;   // a high-resolution wheel's turn not yet a whole notch (120)
    bool frameShown_ = true; // the canvas on screen is the last frame drawn
};

} // namespace tavo
