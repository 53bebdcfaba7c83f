#pragma once
// One QApplication for a test program (offscreen, as every test runs).

#include <QtWidgets/QApplication>

namespace tavo::testing {

inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "shell_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// A first member for fixtures whose other members are widgets.
struct QtAppUser {
    QtAppUser() { qtApp(); }
};

} // namespace tavo::testing
