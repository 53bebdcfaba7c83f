#include "pointeditor/shell/editor_window.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QWheelEvent>

#include "pointeditor/shell/key_map.h"
#include "pointeditor/shell/point_session.h"
#include "pointeditor/shell/text_overlay.h"

namespace tavo {

namespace {

constexpr char Title[] = "POINT EDITOR";
const QColor Background(192, 192, 192);

} // namespace

EditorWindow::EditorWindow(EditSession& edits, const Canvas& canvas)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      edits_(edits), canvas_(canvas) {
    setWindowTitle(QString::fromLatin1(Title));
    setFixedSize(Canvas::Width, Canvas::Height);
    QPalette background = palette();
    background.setColor(QPalette::Window, Background);
    setPalette(background);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    move(0, 0);
}

void EditorWindow::redrawNow() {
    edits_.frame();
    frameShown_ = false;
    repaint();
}

void EditorWindow::afterFrame() {
    frameShown_ = false;
    update();
}

namespace {

constexpr int WheelNotch = 120;

bool buttonHeldAfter(QEvent* event) {
    constexpr Qt::MouseButtons DragButtons = Qt::LeftButton | Qt::RightButton;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        return (static_cast<QMouseEvent*>(event)->buttons() & DragButtons) != 0;
    default:
        return (QGuiApplication::mouseButtons() & DragButtons) != 0;
    }
}

} // namespace

bool EditorWindow::event(QEvent* event) {
    if (session_ != nullptr && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (session_->takeShortcut(key->key(), key->modifiers(), buttonHeldAfter(event))) {
            edits_.frame();
            afterFrame();
            return true;
        }
    }
    if (session_ != nullptr && event->type() == QEvent::Close && !session_->mayClose()) {
        event->ignore(); // the window stays, and so does everything in it
        edits_.frame();
        afterFrame();
        return true;
    }
    return dispatchEvent(event);
}

bool EditorWindow::dispatchEvent(QEvent* event) {
    const bool held = buttonHeldAfter(event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* move = static_cast<QMouseEvent*>(event);
        const QPoint at = move->position().toPoint();
        edits_.mouseMove(at.x(), at.y(), move->buttons().testFlag(Qt::LeftButton),
                         move->buttons().testFlag(Qt::RightButton));
        afterFrame();
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // a double click is simply a second press
    case QEvent::MouseButtonRelease: {
        auto* click = static_cast<QMouseEvent*>(event);
        const bool press = event->type() != QEvent::MouseButtonRelease;
        if (click->button() == Qt::LeftButton || click->button() == Qt::RightButton) {
            const MouseButton button =
                click->button() == Qt::LeftButton ? MouseButton::Left : MouseButton::Right;
            if (press) {
                edits_.buttonDown(button, held);
            } else {
                edits_.buttonUp(button, held);
            }
        } else {
            edits_.other(held);
        }
        afterFrame();
        return true;
    }
    case QEvent::KeyPress: {
        // Taken here, before QWidget's focus handling can swallow Tab.
        auto* key = static_cast<QKeyEvent*>(event);
        edits_.keyDown(virtualKeyFor(key->key(), key->modifiers(), key->nativeScanCode()), held);
        afterFrame();
        return true;
    }
    case QEvent::Close:
        edits_.close();
        afterFrame();
        return QWidget::event(event);
    case QEvent::Wheel: {
        // A notch is 120 eighths of a degree; finer wheels add up to whole notches.
        wheelEighths_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
        const int notches = wheelEighths_ / WheelNotch;
        wheelEighths_ -= notches * WheelNotch;
        edits_.wheel(notches, held);
        afterFrame();
        return true;
    }
    case QEvent::KeyRelease:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::WindowBlocked:
    case QEvent::WindowUnblocked:
    case QEvent::Show:
    case QEvent::Move:
        edits_.other(held);
        afterFrame();
        return QWidget::event(event);
    default:
        return QWidget::event(event);
    }
}

void EditorWindow::paintEvent(QPaintEvent* event) {
    // A paint that the system asked for (the window was uncovered) is a message of its own and
    // gets its frame; one that only shows the frame just drawn does not draw another.
    if (frameShown_) {
        edits_.other(buttonHeldAfter(event));
    }
    frameShown_ = true;
    QPainter painter(this);
    painter.drawImage(0, 0, canvasImage(canvas_));
}

} // namespace tavo
