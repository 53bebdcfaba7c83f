// The real pointeditor under Xvfb, driven with real X input through xdotool.

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>
#include <QtCore/QThread>
#include <QtCore/QtEndian>
#include <csignal>
#include <functional>
#include <utility>

#include "tests/support/menu_marks.h"

#include "pointeditor/shell/recovery.h"
#include "tests/support/guarded_run.h"

namespace {

using tavo::testing::GuardedChild;
using tavo::testing::GuardedOutcome;

// Starts an X server of its own; its display number, empty when it did not start.
QString startXvfb(QProcess& server) {
    server.start(
        "Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"});
    QByteArray display;
    while (!display.contains('\n') && server.waitForReadyRead(10000)) {
        display += server.readAllStandardOutput();
    }
    return QString::fromLatin1(display.trimmed());
}

constexpr int WaitMs = 30000;

// A point record: x, y 0, z, heading 0, then the kind, 0, the link and the id.
QByteArray record(float x, float z, char kind, char link, char id) {
    QByteArray bytes(20, '\0');
    qToLittleEndian<float>(x, bytes.data());
    qToLittleEndian<float>(z, bytes.data() + 8);
    bytes[16] = kind, bytes[18] = link, bytes[19] = id;
    return bytes;
}

// A points file's bytes: the count, then the records.
QByteArray pointsBytes(const QList<QByteArray>& records) {
    return QByteArray(1, char(records.size())) + '\0' + records.join();
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class LiveEditor : public ::testing::Test {
protected:
    // Xvfb chooses a free display and tells its number, so tests side by side never share one.
    static void SetUpTestSuite() {
        server_ = new QProcess;
        display_ = startXvfb(*server_).toLatin1() + '\n';
    }
    static void TearDownTestSuite() {
        server_->terminate();
        server_->waitForFinished(5000);
        delete server_; // kills it if still running
    }
    void SetUp() override {
        ASSERT_FALSE(display_.trimmed().isEmpty()) << "no Xvfb";
        env_.insert("DISPLAY", ":" + QString::fromLatin1(display_.trimmed()));
        env_.insert("QT_QPA_PLATFORM", "xcb");
        env_.insert("LANG", "C.UTF-8");
        env_.remove("WAYLAND_DISPLAY");
        env_.insert("HOME", work_.path()); // the file dialog remembers nothing between runs
        env_.insert("XDG_CONFIG_HOME", work_.filePath("config"));
        env_.insert("XDG_STATE_HOME", work_.filePath("state"));
    }

    // Runs a helper program on the test's display; its standard output.
    QString run(const QString& program, const QStringList& arguments) {
        QProcess tool;
        tool.setProcessEnvironment(env_);
        tool.start(program, arguments);
        EXPECT_TRUE(tool.waitForFinished(WaitMs)) << arguments.join(' ').toStdString();
        return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    }
    // Then waits `settleMs` for the editor to catch up.
    QString xdotool(const QStringList& arguments, int settleMs = 0) {
        const QString out = run("xdotool", arguments);
        QThread::msleep(settleMs);
        return out;
    }

    // Asks `done` up to `tries` times, `ms` milliseconds apart.
    static bool poll(int tries, int ms, const std::function<bool()>& done) {
        bool ok = false;
        for (int i = 0; i < tries && !(ok = done()); ++i) {
            QThread::msleep(ms);
        }
        return ok;
    }

    // The id of the first window with this exact title, waiting for it to appear.
    QString waitForWindow(const QString& title) {
        QString found;
        poll(300, 50, [&] {
            found = xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"});
            return !found.isEmpty();
        });
        return found.split('\n').front();
    }

    // Starts the editor as `editor` and waits for its window; the window's id.
    QString startEditor(QProcess& editor, const QStringList& arguments, const QString& title) {
        editor.setProcessEnvironment(env_);
        editor.start(POINTEDITOR_BINARY, arguments);
        EXPECT_TRUE(editor.waitForStarted(WaitMs));
        const QString window = waitForWindow(title);
        EXPECT_FALSE(window.isEmpty()) << editor.readAllStandardError().toStdString();
        QThread::msleep(300);
        return window;
    }

    // The editor as a child under a time and memory limit, for a test that signals it; waits
    // for its window as startEditor does.
    GuardedChild startGuardedEditor(const QStringList& arguments, const QString& title) {
        std::vector<std::string> command{POINTEDITOR_BINARY};
        for (const QString& argument : arguments) {
            command.push_back(argument.toStdString());
        }
        std::vector<std::string> environment;
        for (const QString& entry : env_.toStringList()) {
            environment.push_back(entry.toStdString());
        }
        GuardedChild child = tavo::testing::startProgramGuarded(command, environment, 60, 2048);
        window_ = waitForWindow(title);
        QThread::msleep(300);
        return child;
    }

    // A points file of these records (record() below) in the test's folder.
    QString pointsFile(const QString& name, const QList<QByteArray>& records) {
        QFile file(work_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(pointsBytes(records));
        return file.fileName();
    }
    QString onePointFile() { return pointsFile("mission.pd1", {record(0, 0, 0, 0, 0)}); }

    // Waits for the box titled `title` and answers it with `key`.
    void answer(const QString& title, const QString& key) {
        const QString box = waitForWindow(title);
        ASSERT_FALSE(box.isEmpty()) << "no box " << title.toStdString();
        xdotool({"windowfocus", "--sync", box});
        xdotool({"key", key});
    }
    // Ctrl+S in `window`, then waits for its title to lose the mark.
    void save(const QString& window, const QString& title) {
        xdotool({"windowfocus", "--sync", window});
        xdotool({"key", "ctrl+s"}, 300);
        EXPECT_FALSE(waitForWindow(title).isEmpty()) << "not saved";
    }

    QString stateFolder() const { return work_.filePath("state/tavo"); }
    // The recovery copies in the state folder.
    QStringList copies() const {
        return QDir(stateFolder()).entryList({"*.recovery"}, QDir::Files);
    }
    // How many points the only copy holds; -1 when there is not exactly one readable copy.
    int pointsInCopy() const {
        const QStringList found = copies();
        const QByteArray bytes =
            found.size() == 1 ? contentsOf(QDir(stateFolder()).filePath(found[0])) : "";
        const auto copy = tavo::decodeRecovery(
            {reinterpret_cast<const uint8_t*>(bytes.constData()), std::size_t(bytes.size())});
        return copy ? tavo::countUsedPoints(copy->table) : -1;
    }

    // NEW POINT, then a point in the top pane: the first change, and the copy written a moment
    // after it.
    bool placeAPointAndWaitForItsCopy() {
        xdotool({"windowfocus", "--sync", window_});
        clickAt(700, 560);
        clickAt(tavo::testing::menuMark(tavo::MenuNewPoint));
        clickAt(200, 115);
        return poll(100, 50, [&] { return pointsInCopy() == 2; });
    }
    // Then a second point, whose copy is not due yet.
    void placeTwoPointsTheLastNotYetCopied() {
        EXPECT_TRUE(placeAPointAndWaitForItsCopy()) << "no copy after 5 s";
        clickAt(tavo::testing::menuMark(tavo::MenuNewPoint));
        clickAt(240, 130);
    }

    void moveTo(int x, int y, int settleMs) {
        xdotool({"mousemove", "--window", window_, QString::number(x), QString::number(y)},
                settleMs);
    }
    // Moves the real pointer to a client position of the editor and clicks there.
    void clickAt(int x, int y) {
        moveTo(x, y, 100);
        xdotool({"click", "1"}, 200);
    }
    void clickAt(std::pair<int, int> mark) { clickAt(mark.first, mark.second); }

    static inline QProcess* server_ = nullptr;
    static inline QByteArray display_; // its number and a line end
    QProcessEnvironment env_ = QProcessEnvironment::systemEnvironment();
    QTemporaryDir work_;
    QProcess editor_; // killed, if still running, when the test ends
    QString window_;
};

// The wheel zooms the top pane about the pointer, a Ctrl click picks the point where it now
// shows, and Delete asks and deletes it; F6 opens the point inspector, and a value typed into
// its table is the editor's own: Ctrl+S in the editor saves each.
TEST_F(LiveEditor, AZoomedCtrlClickThenDeleteAndAnInspectorEditAreSavedByCtrlS) {
    const QString points =
        pointsFile("mission.pd1", {record(20, 10, 1, 0, 5), record(-30, -20, 2, 0, 6)});
    window_ = startEditor(editor_, {"e", points}, "POINT EDITOR - mission.pd1");
    // The client area lies at the screen's origin, 800 x 600; its size is fixed, and the window
    // manager is asked for no maximise button or function (Motif bits 0x40 and 0x10).
    EXPECT_TRUE(xdotool({"getwindowgeometry", window_}).contains("800x600"));
    EXPECT_EQ(run("xprop", {"-id", window_, "_MOTIF_WM_HINTS"}),
              "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x2e, 0x3e, 0x0, 0x0");
    xdotool({"windowfocus", "--sync", window_});
    // Zoom 2 to 3 about the top pane's centre (150, 165): the first point moves from (190, 145)
    // to (210, 135).
    moveTo(150, 165, 200);
    xdotool({"click", "--repeat", "10", "--delay", "30", "4"}, 300);
    xdotool({"keydown", "ctrl"}, 100);
    clickAt(210, 135);
    xdotool({"keyup", "ctrl"}, 100);
    xdotool({"key", "Delete"});
    answer("DELETE", "Return");
    EXPECT_FALSE(waitForWindow("POINT EDITOR - mission.pd1 \\*").isEmpty()) << "not deleted";
    // The window manager's close button asks first; Escape is Cancel.
    run(X_CLOSE_BINARY, {window_});
    answer("POINT EDITOR", "Escape");
    EXPECT_TRUE(poll(100, 50, [&] {
        return xdotool({"search", "--name", "^POINT EDITOR$"}).isEmpty();
    })) << "the question stayed";
    EXPECT_EQ(editor_.state(), QProcess::Running);
    save(window_, "POINT EDITOR - mission.pd1");
    EXPECT_EQ(contentsOf(points).toHex(), pointsBytes({record(-30, -20, 2, 0, 6)}).toHex());

    clickAt(700, 560); // nothing there: just focus
    xdotool({"key", "F6"}, 300);
    const QString inspector = waitForWindow("POINT INSPECTOR");
    ASSERT_FALSE(inspector.isEmpty()) << "no inspector";
    xdotool({"windowfocus", "--sync", inspector}, 300);
    // The table has the focus, on the first row's kind: four cells right is x.
    xdotool({"key", "--delay", "50", "Right", "Right", "Right", "Right"}, 100);
    xdotool({"type", "--delay", "50", "12.5"}, 100);
    xdotool({"key", "Return"}, 300);
    EXPECT_FALSE(waitForWindow("POINT EDITOR - mission.pd1 \\*").isEmpty()) << "not unsaved";
    save(window_, "POINT EDITOR - mission.pd1");
    EXPECT_EQ(contentsOf(points).toHex(), pointsBytes({record(12.5, -20, 2, 0, 6)}).toHex());
}

// Points copied in one editor are pasted into another through the X clipboard: the second
// editor's file holds them after Ctrl+S, the clashing id moved and the link to it following.
TEST_F(LiveEditor, PointsCopiedInOneEditorArePastedInAnother) {
    // A walking pair (id 0 at x 10 goes to id 1 at x -10, and back), and a weapon with id 0.
    const QString first =
        pointsFile("first.pd1", {record(10, 0, 3, 1, 0), record(-10, 0, 3, 0, 1)});
    const QString second = pointsFile("second.pd1", {record(0, 0, 2, 0, 0)});
    window_ = startEditor(editor_, {"e", first}, "POINT EDITOR - first.pd1");
    xdotool({"windowfocus", "--sync", window_});
    clickAt(700, 560);
    // A box around both in the top pane (x -10 and 10 lie 20 pixels either side of its centre).
    clickAt(tavo::testing::menuMark(tavo::MenuSelectPoint));
    clickAt(120, 155);
    clickAt(180, 175);
    xdotool({"key", "ctrl+c"}, 300);

    // The first editor stays: it holds the clipboard.
    QProcess pasting; // killed when the test ends
    const QString target = startEditor(pasting, {"e", second}, "POINT EDITOR - second.pd1");
    xdotool({"windowfocus", "--sync", target});
    xdotool({"mousemove", "--window", target, "700", "560"}, 100); // over no pane: as copied
    xdotool({"key", "ctrl+v"}, 300);
    EXPECT_FALSE(waitForWindow("POINT EDITOR - second.pd1 \\*").isEmpty()) << "nothing pasted";
    save(target, "POINT EDITOR - second.pd1");
    // id 0 was taken: the first pasted point became 2, and the second's link back follows it.
    EXPECT_EQ(contentsOf(second).toHex(),
              pointsBytes({record(0, 0, 2, 0, 0), record(10, 0, 3, 1, 2), record(-10, 0, 3, 2, 1)})
                  .toHex());
}

TEST_F(LiveEditor, TheInspectorOptionOpensItAtStart) {
    startEditor(editor_, {"e", "--inspector"}, "POINT EDITOR");
    EXPECT_FALSE(waitForWindow("POINT INSPECTOR").isEmpty()) << "no inspector";
}

// A warp onto the pointer's own spot once made a move of its own, and so another warp, forever.
// A drag in VIEW over the 3D pane ends with the pointer back at the pane's centre.
TEST_F(LiveEditor, TurningTheCameraPutsThePointerBackOnThe3DPane) {
    window_ = startEditor(editor_, {"e"}, "POINT EDITOR");
    clickAt(tavo::testing::menuMark(tavo::MenuView));
    moveTo(440, 165, 300);
    xdotool({"mousedown", "1"}, 200);
    moveTo(470, 150, 500);
    xdotool({"mouseup", "1"}, 300);
    QString location; // the window's client area starts at the screen's origin
    poll(50, 100,
         [&] { return (location = xdotool({"getmouselocation"})).startsWith("x:440 y:165 "); });
    EXPECT_TRUE(location.startsWith("x:440 y:165 ")) << location.toStdString();
}

// A logout or a kill ends the editor by a signal, and Qt ends it itself when the X server goes:
// either way the copy is written on the way out, with every point.
TEST_F(LiveEditor, EndedByASignalOrALostDisplayTheEditorFirstCopiesEveryPoint) {
    const QString points = onePointFile();
    QProcess server; // the display that is lost, one of the test's own
    for (int signal : {SIGTERM, SIGHUP, 0}) {
        SCOPED_TRACE(signal);
        if (signal == 0) {
            const QString display = startXvfb(server);
            ASSERT_FALSE(display.isEmpty()) << "no Xvfb";
            env_.insert("DISPLAY", ":" + display);
        }
        QDir(stateFolder()).removeRecursively();
        GuardedChild editor = startGuardedEditor({"e", points}, "POINT EDITOR - mission.pd1");
        ASSERT_FALSE(window_.isEmpty());
        placeTwoPointsTheLastNotYetCopied();
        QThread::msleep(200);
        signal != 0 ? void(::kill(editor.pid, signal)) : server.kill();
        const GuardedOutcome outcome = tavo::testing::finishGuarded(editor);
        if (signal != 0) {
            EXPECT_EQ(outcome.status, -signal) << outcome.err;
        } else {
            EXPECT_NE(outcome.err.find("The X11 connection broke"), std::string::npos)
                << outcome.err;
        }
        EXPECT_EQ(pointsInCopy(), 3) << copies().join(' ').toStdString();
    }
}

// Restored points are copied before the old copy goes: killed right after restoring, they are
// offered again. Escape on the question keeps them for the next start.
TEST_F(LiveEditor, RestoredPointsSurviveAKillAndEscapeKeepsThemForLater) {
    const QString points = onePointFile();
    GuardedChild first = startGuardedEditor({"e", points}, "POINT EDITOR - mission.pd1");
    ASSERT_FALSE(window_.isEmpty());
    ASSERT_TRUE(placeAPointAndWaitForItsCopy()) << "no copy after 5 s";
    ::kill(first.pid, SIGKILL);
    tavo::testing::finishGuarded(first);

    // Return restores, and the editor is killed at once; Escape restores nothing, and the
    // editor is closed, as nothing is unsaved.
    for (const char* key : {"Return", "Escape"}) {
        SCOPED_TRACE(key);
        const bool restore = std::string(key) == "Return";
        GuardedChild editor = startGuardedEditor({"e", points}, "POINT EDITOR - mission.pd1");
        answer("POINT EDITOR", key);
        EXPECT_TRUE(poll(100, 50, [&] {
            return xdotool({"search", "--onlyvisible", "--name", "^POINT EDITOR$"}).isEmpty();
        }));
        if (restore) {
            EXPECT_FALSE(waitForWindow("POINT EDITOR - mission.pd1 \\*").isEmpty());
            ::kill(editor.pid, SIGKILL);
        } else {
            run(X_CLOSE_BINARY, {window_});
        }
        const GuardedOutcome outcome = tavo::testing::finishGuarded(editor);
        EXPECT_EQ(outcome.status, restore ? -SIGKILL : 0) << outcome.err;
        const auto offered = tavo::findOrphanRecovery(stateFolder());
        ASSERT_TRUE(offered.has_value()) << "nothing left to offer";
        EXPECT_EQ(tavo::countUsedPoints(offered->points.table), 2);
    }
}

} // namespace
