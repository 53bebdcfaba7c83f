// The editor ended from outside, in a child process each: what the guard keeps and how the
// program ends after it.

#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "pointeditor/shell/end_guard.h"
#include "tests/support/guarded_run.h"

namespace tavo {
namespace {

void nothing() {}

struct Ending {
    const char* name;
    void (*before)(); // before the guard exists
    void (*end)();    // while it does
    void (*after)();  // once it is gone
    int status;
    const char* out;
};

// Runs an ending in a child with a guard whose keeping prints "kept"; events are processed for
// a while after it, then the guard goes and the child exits with 0.
testing::GuardedOutcome endedBy(const Ending& ending) {
    return testing::runGuarded([&ending]() -> int {
        static int argc = 1;
        static char name[] = "end_guard", *argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) {
            new QCoreApplication(argc, argv);
        }
        // A background job starts with SIGINT ignored: each row starts from the defaults, as
        // the editor does when it is started from a desktop or a terminal.
        for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
            std::signal(signal, SIG_DFL);
        }
        ending.before();
        {
            const EndGuard guard([] {
                std::fputs("kept\n", stdout);
                std::fflush(stdout); // a signal's end flushes nothing
            });
            ending.end();
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < 300) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            }
        }
        ending.after();
        std::exit(0); // the exit hook, with no guard left
    });
}

TEST(EndGuard, KeepsOnceThenEndsAsTheSignalOrExitAsked) {
    const auto term = [] { std::raise(SIGTERM); };
    const Ending endings[] = {
        {"SIGTERM", nothing, term, nothing, -SIGTERM, "kept\n"},
        {"SIGHUP", nothing, [] { std::raise(SIGHUP); }, nothing, -SIGHUP, "kept\n"},
        {"SIGINT", nothing, [] { std::raise(SIGINT); }, nothing, -SIGINT, "kept\n"},
        {"SIGHUP under nohup", [] { std::signal(SIGHUP, SIG_IGN); }, [] { std::raise(SIGHUP); },
         nothing, 0, ""},
        {"exit", nothing, [] { std::exit(3); }, nothing, 3, "kept\n"},
        {"a normal end", nothing, nothing, nothing, 0, ""},
        {"SIGTERM once the guard is gone", nothing, nothing, term, -SIGTERM, ""},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.name);
        const testing::GuardedOutcome outcome = endedBy(ending);
        EXPECT_EQ(outcome.status, ending.status) << outcome.err;
        EXPECT_EQ(outcome.out, ending.out);
    }
}

} // namespace
} // namespace tavo
