#include <gtest/gtest.h>

#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <memory>

#include "pointeditor/shell/editor_window.h"
#include "pointeditor/shell/tests/qt_app.h"
#include "pointeditor/shell/tests/recording_handlers.h"
#include "pointeditor/shell/text_overlay.h"
#include "tests/support/fake_platform.h"

namespace tavo {
namespace {

using Calls = std::vector<std::string>;

void send(QWidget& window, QEvent&& event) {
    QCoreApplication::sendEvent(&window, &event);
}

QMouseEvent mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    return QMouseEvent(type, QPointF(at), QPointF(at), button, held, Qt::NoModifier);
}

class WindowMessages : public ::testing::Test {
  protected:
    testing::QtAppUser app;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::unique_ptr<Canvas> canvas = std::make_unique<Canvas>();
    testing::HandlerLog log;
    EditorWindow window{*state, *canvas, testing::recordingHandlers(log)};
};

TEST_F(WindowMessages, FixedGreyWindowWithTheEditorsTitleAndNoMaximise) {
    EXPECT_EQ(window.windowTitle(), "POINT EDITOR");
    EXPECT_EQ(window.size(), QSize(800, 600));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(window.hasMouseTracking());
    // What the window shows before the first frame is the grey background of the canvas.
    const QImage shown = window.grab().toImage();
    EXPECT_EQ(shown.pixel(400, 300), qRgb(192, 192, 192));
}

TEST_F(WindowMessages, MouseMovesReachTheHandlersInTheirOrderWithTheButtonsHeld) {
    state->menuMode = kViewMode;
    log.hoverAfterUpdate = kPane3D;
    send(window, mouse(QEvent::MouseMove, {441, 166}, Qt::NoButton, Qt::LeftButton));
    send(window, mouse(QEvent::MouseMove, {442, 167}, Qt::NoButton, Qt::RightButton));
    send(window, mouse(QEvent::MouseMove, {443, 168}, Qt::NoButton, Qt::NoButton));
    send(window, mouse(QEvent::MouseMove, {444, 169}, Qt::NoButton,
                       Qt::LeftButton | Qt::RightButton | Qt::MiddleButton));
    EXPECT_EQ(log.calls,
              (Calls{"updateCursor 441,166", "onLeftDrag", "recentreCursor", "drawFrame",
                     "updateCursor 442,167", "onRightDrag", "recentreCursor", "drawFrame",
                     "updateCursor 443,168", "drawFrame", "updateCursor 444,169", "onBothDrag",
                     "recentreCursor", "drawFrame"}));
    EXPECT_EQ(state->prevMouseX, 443);
}

TEST_F(WindowMessages, ADoubleClickActsAsTwoClicks) {
    const QPoint at(608, 48);
    send(window, mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton));
    send(window, mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton));
    send(window, mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton));
    send(window, mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton));
    send(window, mouse(QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton));
    send(window, mouse(QEvent::MouseButtonDblClick, at, Qt::RightButton, Qt::RightButton));
    EXPECT_EQ(log.calls, (Calls{"onLeftButtonDown", "drawFrame", "onLeftUp", "drawFrame",
                                "onLeftButtonDown", "drawFrame", "onLeftUp", "drawFrame",
                                "onRightDown", "drawFrame", "onRightDown", "drawFrame"}));
}

TEST_F(WindowMessages, KeysArriveAsTheirCodesAutoRepeatIncluded) {
    send(window, QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    send(window, QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a", true));
    send(window, QKeyEvent(QEvent::KeyPress, Qt::Key_8, Qt::KeypadModifier, "8"));
    send(window, QKeyEvent(QEvent::KeyPress, Qt::Key_Left, Qt::KeypadModifier));
    send(window, QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier)); // not focus moving
    send(window, QKeyEvent(QEvent::KeyPress, Qt::Key_F10, Qt::NoModifier));
    EXPECT_EQ(log.calls, (Calls{"onKeyDown 65", "drawFrame", "onKeyDown 65", "drawFrame",
                                "onKeyDown 104", "drawFrame", "onKeyDown 37", "drawFrame",
                                "onKeyDown 9", "drawFrame", "drawFrame"}));
}

TEST_F(WindowMessages, EveryEventIsFollowedByExactlyOneFrame) {
    send(window, mouse(QEvent::MouseMove, {20, 30}, Qt::NoButton, Qt::NoButton));
    send(window, mouse(QEvent::MouseButtonPress, {20, 30}, Qt::MiddleButton, Qt::MiddleButton));
    send(window, QKeyEvent(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a"));
    send(window, QEvent(QEvent::Enter));
    EXPECT_EQ(log.frames(), 4);
    EXPECT_EQ(log.calls.size(), 5u);

    // Showing the last frame on screen draws no second one.
    window.show();
    QCoreApplication::processEvents();
    const int afterShow = log.frames();
    window.update();
    QCoreApplication::processEvents();
    send(window, mouse(QEvent::MouseMove, {21, 30}, Qt::NoButton, Qt::NoButton));
    window.repaint();
    EXPECT_EQ(log.frames(), afterShow + 1);
    window.hide();
}

TEST_F(WindowMessages, ClosingTheWindowEndsTheRun) {
    state->running = 1;
    window.show();
    window.close();
    EXPECT_EQ(state->running, 0);
    EXPECT_GE(log.frames(), 1);
}

// Text only (no device): the real frame through the real overlay, as the window shows it.
class WindowText : public ::testing::Test {
  protected:
    struct OverlayPlatform : testing::FakePlatform {
        explicit OverlayPlatform(TextOverlay& target) : overlay(target) {}
        void drawText(int x, int y, std::string_view text, uint32_t textColour,
                      uint32_t backColour) override {
            overlay.drawText(x, y, text, textColour, backColour);
        }
        TextOverlay& overlay;
    };

    WindowText() { state->window = &platform; }

    int count(const QImage& image, QRect area, QRgb colour) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                n += image.pixel(x, y) == colour ? 1 : 0;
            }
        }
        return n;
    }

    testing::QtAppUser app;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::unique_ptr<Canvas> canvas = std::make_unique<Canvas>();
    TextOverlay overlay{*canvas};
    OverlayPlatform platform{overlay};
    EditorWindow window{*state, *canvas, editorHandlers()};
};

TEST_F(WindowText, TheTextColumnShowsTheActiveCommandAndTheToggles) {
    const QRgb text = qRgb(0x50, 0x50, 0xA0);
    const QRgb grey = qRgb(0xC0, 0xC0, 0xC0);
    const QRgb active = qRgb(0xFF, 0xC3, 0xC3);
    const QRgb on = qRgb(0xAA, 0xFA, 0xAA);
    state->english = 1;
    state->showDirection = 0;
    // Over no pane; choosing VIEW is a click on its mark.
    send(window, mouse(QEvent::MouseMove, {608, 168}, Qt::NoButton, Qt::NoButton));
    send(window, mouse(QEvent::MouseButtonPress, {608, 168}, Qt::LeftButton, Qt::LeftButton));
    ASSERT_EQ(state->menuMode, 5);
    const QImage shown = window.grab().toImage();

    // "◆ VIEW": a full-width mark, a space and four letters of 8 pixels, 16 rows high.
    const QRect view(600, 160, 16 + 8 * 5, 16);
    EXPECT_GT(count(shown, view, active), view.width() * 4);
    EXPECT_GT(count(shown, view, text), 20);
    EXPECT_EQ(count(shown, view, active) + count(shown, view, text), view.width() * 16);
    EXPECT_EQ(count(shown, QRect(view.right() + 1, 160, 4, 16), active), 0);
    EXPECT_EQ(count(shown, QRect(600, 176, view.width(), 1), active), 0); // one 16-pixel cell
    // Every other menu entry has the normal background.
    for (int n = 1; n <= 9; ++n) {
        if (n != 5) {
            EXPECT_EQ(count(shown, QRect(600, 40 + 30 * (n - 1), 120, 16), active), 0) << n;
        }
    }
    // Toggles: all on but DIRECTION; "▼ GRID LOCK" is 16 + 10 x 8 pixels wide.
    const QRect gridLock(600, 360, 16 + 8 * 10, 16);
    EXPECT_EQ(count(shown, gridLock, on) + count(shown, gridLock, text), gridLock.width() * 16);
    EXPECT_EQ(count(shown, QRect(600, 380, 104, 16), on), 0);
    EXPECT_GT(count(shown, QRect(600, 380, 104, 16), text), 20);
    for (int y : {400, 420, 440}) {
        EXPECT_GT(count(shown, QRect(600, y, 80, 16), on), 400) << y;
    }
    // The parameter line and the blank lines below it are on grey.
    EXPECT_GT(count(shown, QRect(600, 330, 8 * 20, 16), grey), 1000);
    EXPECT_GT(count(shown, QRect(600, 330, 8 * 20, 16), text), 30);
}

} // namespace
} // namespace tavo
