#include "pointeditor/shell/end_guard.h"

#include <QtCore/QSocketNotifier>
#include <QtGui/QGuiApplication>
#include <QtGui/QSessionManager>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace tavo {
namespace {

constexpr int EndSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The self-pipe: a signal handler may do next to nothing, so it only writes the signal's number
// here, and the GUI thread does the rest when the pipe wakes its event loop.
int signalPipe[2] = {-1, -1};

// What the guard of this run keeps, for the exit hook; null before the guard exists and after
// it is gone.
std::function<void()>* currentKeep = nullptr;

extern "C" void onEndSignal(int signal) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t wrote = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

// Qt's X11 plugin ends the program with exit() when the X server's connection breaks ("The X11
// connection broke"), from the GUI thread's event processing and with no event or signal a
// program could answer first. exit() still runs the functions registered with atexit(), before
// static objects are destroyed and while main()'s locals, never unwound, are all still there.
// On a normal return from main() the guard is gone by then and this does nothing.
extern "C" void keepAtExit() {
    if (currentKeep != nullptr) {
        (*currentKeep)();
    }
}

} // namespace

EndGuard::EndGuard(std::function<void()> keep) : keep_(std::move(keep)) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &EndGuard::onSignal);
        for (int signal : EndSignals) {
            struct sigaction action {};
            struct sigaction previous {};
            ::sigaction(signal, nullptr, &previous);
            // A signal ignored when the program started stays ignored (nohup, a background
            // job of a shell script): whoever started it asked for that.
            if (previous.sa_handler == SIG_IGN) {
                continue;
            }
            action.sa_handler = onEndSignal;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESTART;
            ::sigaction(signal, &action, nullptr);
        }
    }
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // The session manager asks before a logout; the session may end without a signal.
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { keep_(); });
    }
    // Once per process: a hook cannot be taken back, and one that finds no guard does nothing.
    [[maybe_unused]] static const int hooked = std::atexit(keepAtExit);
    currentKeep = &keep_;
}

EndGuard::~EndGuard() {
    currentKeep = nullptr;
    for (int signal : EndSignals) {
        struct sigaction previous {};
        ::sigaction(signal, nullptr, &previous);
        if (previous.sa_handler == onEndSignal) {
            ::signal(signal, SIG_DFL);
        }
    }
    notifier_.reset();
    for (int& end : signalPipe) {
        if (end >= 0) {
            ::close(end);
            end = -1;
        }
    }
}

void EndGuard::onSignal() {
    unsigned char signal = 0;
    if (::read(signalPipe[0], &signal, 1) != 1) {
        return;
    }
    keep_();
    // Then end as the signal asked, by the signal itself: whoever waits for the program sees
    // it killed by that signal (a shell's status 128 + its number), as without this guard.
    currentKeep = nullptr; // the copy is written; exit hooks have nothing left to do
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

} // namespace tavo
