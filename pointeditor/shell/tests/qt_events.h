#pragma once
// The shell tests' one QApplication (offscreen, as every test runs), the synthetic events they
// send to the real window, and environments of their own.

#include <gtest/gtest.h>

#include <QtCore/QElapsedTimer>
#include <QtCore/QThread>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <functional>
#include <map>
#include <utility>

#include "common/locale/locale_rule.h"

namespace tavo::testing {

struct QtTest : ::testing::Test {
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "shell_tests", *argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) {
            new QApplication(argc, argv);
        }
    }
};

// A menu mark (tests/support/menu_marks.h) as a window position.
inline QPoint markPoint(std::pair<int, int> mark) {
    return {mark.first, mark.second};
}

inline void send(QWidget& window, QEvent&& event) {
    QCoreApplication::sendEvent(&window, &event);
}

// A mouse event with the buttons `held`: a move unless another type and its button are given.
inline QMouseEvent mouse(QPoint at, Qt::MouseButtons held = Qt::NoButton,
                         QEvent::Type type = QEvent::MouseMove,
                         Qt::MouseButton button = Qt::NoButton) {
    return QMouseEvent(type, QPointF(at), QPointF(at), button, held, Qt::NoModifier);
}

inline EnvironmentLookup environmentOf(std::map<std::string, std::string> values) {
    return [values](const char* name) -> std::optional<std::string> {
        auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional(it->second);
    };
}

inline QKeyEvent keyPress(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                          const QString& text = {}, bool autoRepeat = false) {
    return QKeyEvent(QEvent::KeyPress, key, modifiers, text, autoRepeat);
}

// Processes events until `done` or the time is up.
inline bool waitFor(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

} // namespace tavo::testing
