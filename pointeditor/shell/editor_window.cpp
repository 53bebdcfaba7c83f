#include "pointeditor/shell/editor_window.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>

#include "pointeditor/shell/key_map.h"
#include "pointeditor/shell/point_session.h"
#include "pointeditor/shell/text_overlay.h"

namespace tavo {

namespace {

constexpr char Title[] = "POINT EDITOR";
const QColor Background(192, 192, 192);

} // namespace

EditorWindow::EditorWindow(EditorState& state, const Canvas& canvas, EditorHandlers handlers)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      state_(state), canvas_(canvas), handlers_(std::move(handlers)) {
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
    dispatchOther(state_, handlers_);
    frameShown_ = false;
    repaint();
}

void EditorWindow::afterFrame() {
    frameShown_ = false;
    update();
}

namespace {

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
    if (session_ == nullptr) {
        return dispatchEvent(event);
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (session_->takeShortcut(key->key(), key->modifiers(), buttonHeldAfter(event))) {
            dispatchOther(state_, handlers_);
            afterFrame();
            return true;
        }
    }
    if (event->type() == QEvent::Close && !session_->mayClose()) {
        event->ignore(); // the window stays, and so does everything in it
        dispatchOther(state_, handlers_);
        afterFrame();
        return true;
    }
    session_->beginMessage();
    const bool handled = dispatchEvent(event);
    session_->endMessage(buttonHeldAfter(event));
    return handled;
}

bool EditorWindow::dispatchEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* move = static_cast<QMouseEvent*>(event);
        const QPoint at = move->position().toPoint();
        dispatchMouseMove(state_, handlers_, at.x(), at.y(),
                          move->buttons().testFlag(Qt::LeftButton),
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
                dispatchButtonDown(state_, handlers_, button);
            } else {
                dispatchButtonUp(state_, handlers_, button);
            }
        } else {
            dispatchOther(state_, handlers_);
        }
        afterFrame();
        return true;
    }
    case QEvent::KeyPress: {
        // Taken here, before QWidget's focus handling can swallow Tab.
        auto* key = static_cast<QKeyEvent*>(event);
        dispatchKeyDown(state_, handlers_,
                        virtualKeyFor(key->key(), key->modifiers(), key->nativeScanCode()));
        afterFrame();
        return true;
    }
    case QEvent::Close:
        dispatchClose(state_, handlers_);
        afterFrame();
        return QWidget::event(event);
    case QEvent::KeyRelease:
    case QEvent::Wheel:
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
        dispatchOther(state_, handlers_);
        afterFrame();
        return QWidget::event(event);
    default:
        return QWidget::event(event);
    }
}

void EditorWindow::paintEvent(QPaintEvent*) {
    // A paint that the system asked for (the window was uncovered) is a message of its own and
    // gets its frame; one that only shows the frame just drawn does not draw another.
    if (frameShown_) {
        dispatchOther(state_, handlers_);
    }
    frameShown_ = true;
    QPainter painter(this);
    painter.drawImage(0, 0, canvasImage(canvas_));
}

} // namespace tavo
