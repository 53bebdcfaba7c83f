#pragma once
// What the editor does when it is ended from outside rather than closed: a logout (SIGHUP, or
// the session manager asking programs to keep their data), `kill` (SIGTERM), Ctrl+C in its
// terminal (SIGINT), and the display going away. Each gets one call of `keep` on the GUI
// thread, which writes the recovery copy; the program then ends as it was asked to.

#include <QtCore/QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace tavo {

class EndGuard : public QObject {
public:
    // Once per program, after the QGuiApplication exists.
    explicit EndGuard(std::function<void()> keep);
    ~EndGuard() override;
    EndGuard(const EndGuard&) = delete;
    EndGuard& operator=(const EndGuard&) = delete;

private:
    void onSignal();

    std::function<void()> keep_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace tavo
