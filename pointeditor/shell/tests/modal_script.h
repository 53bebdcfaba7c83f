#pragma once
// Answers the next modal box or dialog from inside its own event loop, as a user would.

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <functional>

namespace tavo::testing {

// Calls `act` with the modal widget as soon as one is open (and gives up after five seconds).
inline void whenModalOpens(std::function<void(QWidget&)> act) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(*modal);
        } else if (++*waited > 500) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

} // namespace tavo::testing
