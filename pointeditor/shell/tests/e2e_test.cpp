// The real pointeditor under Xvfb, driven with real X input through xdotool.

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>
#include <QtCore/QThread>
#include <QtCore/QtEndian>
#include <array>
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

    void startEditor(const QStringList& arguments = {"e"}, const QString& title = "POINT EDITOR") {
        editor_.setProcessEnvironment(env_);
        editor_.setWorkingDirectory(work_.path());
        editor_.start(POINTEDITOR_BINARY, arguments);
        ASSERT_TRUE(editor_.waitForStarted(WaitMs));
        window_ = waitForWindow(title);
        ASSERT_FALSE(window_.isEmpty()) << editor_.readAllStandardError().toStdString();
        QThread::msleep(300);
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

    // A points file with one point at the origin.
    QString onePointFile() {
        const QString points = work_.filePath("mission.pd1");
        QFile file(points);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromHex("0100") + QByteArray(20, '\0'));
        return points;
    }

    QString stateFolder() const { return work_.filePath("state/tavo"); }
    // The recovery copies in the state folder.
    QStringList copies() const {
        return QDir(stateFolder()).entryList({"*.recovery"}, QDir::Files);
    }
    // How many points the only copy holds; -1 when there is not exactly one readable copy.
    int pointsInCopy() const {
        const QStringList found = copies();
        QFile file(QDir(stateFolder()).filePath(found.value(0)));
        const QByteArray bytes =
            found.size() == 1 && file.open(QIODevice::ReadOnly) ? file.readAll() : "";
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

TEST_F(LiveEditor, APointPlacedWithTheMouseIsAskedAboutAndSavedThroughTheDialog) {
    startEditor({"e", onePointFile()}, "POINT EDITOR - mission.pd1");
    // The window's client area lies at the screen's origin, 800 x 600.
    EXPECT_TRUE(xdotool({"getwindowgeometry", window_}).contains("800x600"));
    // Its size is fixed, and the window manager is asked for no maximise button or function
    // (Motif bits 0x40 and 0x10): functions, then decorations.
    EXPECT_EQ(run("xprop", {"-id", window_, "_MOTIF_WM_HINTS"}),
              "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x2e, 0x3e, 0x0, 0x0");

    // Parameters: kind 3 (A three times), id 2 (F twice); the keys go to the focused window.
    xdotool({"windowfocus", "--sync", window_});
    clickAt(700, 560); // nothing there: just focus
    xdotool({"key", "--delay", "50", "a", "a", "a", "f", "f"}, 200);
    clickAt(tavo::testing::menuMark(tavo::MenuNewPoint));
    clickAt(200, 115); // the top pane, right of and above its centre: x 25, z 25
    EXPECT_FALSE(waitForWindow("POINT EDITOR - mission.pd1 \\*").isEmpty());

    // The window manager's close button: the question comes; Escape is Cancel.
    run(X_CLOSE_BINARY, {window_});
    const QString question = waitForWindow("POINT EDITOR");
    ASSERT_FALSE(question.isEmpty()) << "no question";
    xdotool({"windowfocus", "--sync", question});
    xdotool({"key", "Escape"});
    EXPECT_TRUE(poll(100, 50, [&] {
        return xdotool({"search", "--name", "^POINT EDITOR$"}).isEmpty();
    }));
    EXPECT_EQ(editor_.state(), QProcess::Running);

    // SAVE POINT writes what the dialog names: the point read, then the new one at x 25, y 0
    // (the top pane's height), z 25, heading 0, kind 3 and id 2.
    xdotool({"windowfocus", "--sync", window_});
    clickAt(tavo::testing::menuMark(tavo::MenuSavePoint));
    const QString saved = work_.filePath("placed"); // typed without an extension: .pd1 is added
    // The save dialog: type the path and Return.
    const QString dialog = waitForWindow("save");
    ASSERT_FALSE(dialog.isEmpty()) << "no save dialog";
    QThread::msleep(500);
    xdotool({"windowfocus", "--sync", dialog});
    xdotool({"key", "ctrl+a"});
    xdotool({"type", "--delay", "20", saved});
    xdotool({"key", "Return"});
    EXPECT_FALSE(waitForWindow("POINT EDITOR - placed.pd1").isEmpty()) << "saved: no mark";
    QFile placed(saved + ".pd1");
    ASSERT_TRUE(placed.open(QIODevice::ReadOnly)) << "nothing saved";
    const QByteArray bytes = placed.readAll();
    ASSERT_EQ(bytes.size(), 2 + 2 * 20);
    EXPECT_EQ(bytes.first(22).toHex().toStdString(), "0200" + std::string(40, '0'));
    EXPECT_EQ(bytes.last(4).toHex().toStdString(), "03000002"); // kind 3, id 2
    std::array<float, 4> placedAt{};                            // x, y, z, heading
    qFromLittleEndian<float>(bytes.constData() + 22, 4, placedAt.data());
    EXPECT_EQ(placedAt, (std::array<float, 4>{25, 0, 25, 0}));

    // Nothing unsaved: closing ends the program at once and leaves no recovery file.
    run(X_CLOSE_BINARY, {window_});
    EXPECT_TRUE(editor_.waitForFinished(WaitMs));
    EXPECT_EQ(editor_.exitCode(), 0);
    EXPECT_EQ(QDir(work_.filePath("state/tavo")).entryList(QDir::Files), QStringList());
}

// The wheel zooms the top pane about the pointer, a Ctrl click picks the point where it now
// shows, and Delete asks and deletes it: the file saved then holds the other point only.
TEST_F(LiveEditor, ACtrlClickAfterAWheelZoomPicksThePointThatDeleteThenRemoves) {
    // Two points: x 20, z 10 (kind 1, id 5), and x -30, z -20 (kind 2, id 6).
    const QString points = work_.filePath("mission.pd1");
    QFile file(points);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::array<float, 8> at{20, 0, 10, 0, -30, 0, -20, 0};
    file.write(QByteArray::fromHex("0200"));
    for (int record = 0; record < 2; ++record) {
        std::array<char, 16> position{};
        qToLittleEndian<float>(at.data() + 4 * record, 4, position.data());
        file.write(position.data(), position.size());
        file.write(QByteArray::fromHex(record == 0 ? "01000005" : "02000006"));
    }
    file.close();
    startEditor({"e", points}, "POINT EDITOR - mission.pd1");
    xdotool({"windowfocus", "--sync", window_});
    // Zoom 2 to 3 about the top pane's centre (150, 165): the first point moves from (190, 145)
    // to (210, 135).
    moveTo(150, 165, 200);
    xdotool({"click", "--repeat", "10", "--delay", "30", "4"}, 300);
    xdotool({"keydown", "ctrl"}, 100);
    clickAt(210, 135);
    xdotool({"keyup", "ctrl"}, 100);
    xdotool({"key", "Delete"});
    const QString question = waitForWindow("DELETE");
    ASSERT_FALSE(question.isEmpty()) << "no question";
    xdotool({"windowfocus", "--sync", question});
    xdotool({"key", "Return"});
    EXPECT_FALSE(waitForWindow("POINT EDITOR - mission.pd1 \\*").isEmpty()) << "not deleted";
    xdotool({"windowfocus", "--sync", window_});
    xdotool({"key", "ctrl+s"});
    EXPECT_FALSE(waitForWindow("POINT EDITOR - mission.pd1").isEmpty()) << "not saved";
    QFile saved(points);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_EQ(bytes.toHex().left(4).toStdString(), "0100") << "one point left";
    EXPECT_EQ(bytes.toHex().right(8).toStdString(), "02000006") << "the second point";
}

// Points copied in one editor are pasted into another through the X clipboard: the second
// editor's file holds them after Ctrl+S, the clashing id moved and the link to it following.
TEST_F(LiveEditor, PointsCopiedInOneEditorArePastedInAnother) {
    // A walking pair: id 0 at x 10 goes to id 1 at x -10, and back.
    auto pathPoint = [](float x, char next, char id) {
        QByteArray record(20, '\0');
        qToLittleEndian<float>(x, record.data());
        record[16] = 3; // PATH
        record[18] = next;
        record[19] = id;
        return record;
    };
    QFile first(work_.filePath("first.pd1"));
    ASSERT_TRUE(first.open(QIODevice::WriteOnly));
    first.write(QByteArray::fromHex("0200") + pathPoint(10, 1, 0) + pathPoint(-10, 0, 1));
    first.close();
    QFile second(work_.filePath("second.pd1"));
    ASSERT_TRUE(second.open(QIODevice::WriteOnly));
    second.write(QByteArray::fromHex("0100") +
                 QByteArray::fromHex("00000000000000000000000000000000"
                                     "02000000")); // a weapon, id 0
    second.close();

    startEditor({"e", first.fileName()}, "POINT EDITOR - first.pd1");
    xdotool({"windowfocus", "--sync", window_});
    clickAt(700, 560);
    // A box around both in the top pane (x -10 and 10 lie 20 pixels either side of its centre).
    clickAt(tavo::testing::menuMark(tavo::MenuSelectPoint));
    clickAt(120, 155);
    clickAt(180, 175);
    xdotool({"key", "ctrl+c"}, 300);

    // The first editor stays: it holds the clipboard.
    QProcess pasting;
    pasting.setProcessEnvironment(env_);
    pasting.setWorkingDirectory(work_.path());
    pasting.start(POINTEDITOR_BINARY, {"e", second.fileName()});
    ASSERT_TRUE(pasting.waitForStarted(WaitMs));
    const QString target = waitForWindow("POINT EDITOR - second.pd1");
    ASSERT_FALSE(target.isEmpty()) << pasting.readAllStandardError().toStdString();
    QThread::msleep(300);
    xdotool({"windowfocus", "--sync", target});
    xdotool({"mousemove", "--window", target, "700", "560"}, 100); // over no pane: as copied
    xdotool({"key", "ctrl+v"}, 300);
    EXPECT_FALSE(waitForWindow("POINT EDITOR - second.pd1 \\*").isEmpty()) << "nothing pasted";
    xdotool({"key", "ctrl+s"}, 300);
    EXPECT_FALSE(waitForWindow("POINT EDITOR - second.pd1").isEmpty()) << "not saved";

    QByteArray bytes;
    poll(100, 50, [&] {
        bytes = second.open(QIODevice::ReadOnly) ? second.readAll() : QByteArray();
        second.close();
        return bytes.size() == 2 + 3 * 20;
    });
    ASSERT_EQ(bytes.size(), 2 + 3 * 20) << "the saved file";
    // id 0 was taken: the first pasted point became 2, and the second's link back follows it.
    EXPECT_EQ(bytes.mid(22).toHex().toStdString(),
              (pathPoint(10, 1, 2) + pathPoint(-10, 2, 1)).toHex().toStdString());
    pasting.kill();
    pasting.waitForFinished(WaitMs);
}

// F6 opens the point inspector; a value typed into its table is the editor's own, so Ctrl+S in
// the editor saves it.
TEST_F(LiveEditor, F6OpensTheInspectorAndAnEditMadeThereIsSavedByCtrlS) {
    const QString points = onePointFile();
    startEditor({"e", points}, "POINT EDITOR - mission.pd1");
    xdotool({"windowfocus", "--sync", window_});
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

    xdotool({"windowfocus", "--sync", window_});
    xdotool({"key", "ctrl+s"}, 300);
    EXPECT_FALSE(waitForWindow("POINT EDITOR - mission.pd1").isEmpty()) << "still unsaved";
    QFile saved(points);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    // One point: x 12.5 (0x41480000), everything else as loaded.
    EXPECT_EQ(saved.readAll().toHex().toStdString(), "0100"
                                                     "00004841" +
                                                         std::string(32, '0'));
}

TEST_F(LiveEditor, TheInspectorOptionOpensItAtStart) {
    startEditor({"e", "--inspector"});
    EXPECT_FALSE(waitForWindow("POINT INSPECTOR").isEmpty()) << "no inspector";
}

// A warp onto the pointer's own spot once made a move of its own, and so another warp, forever.
// A drag in VIEW over the 3D pane ends with the pointer back at the pane's centre.
TEST_F(LiveEditor, TurningTheCameraPutsThePointerBackOnThe3DPane) {
    startEditor();
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

// A logout or a kill ends the editor by a signal: the copy is written at once with every point,
// and the editor ends by that signal.
TEST_F(LiveEditor, EndedByASignalTheEditorFirstCopiesEveryPoint) {
    const QString points = onePointFile();
    for (int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        QDir(stateFolder()).removeRecursively();
        GuardedChild editor = startGuardedEditor({"e", points}, "POINT EDITOR - mission.pd1");
        ASSERT_FALSE(window_.isEmpty());
        placeTwoPointsTheLastNotYetCopied();
        QThread::msleep(200);
        ::kill(editor.pid, signal);
        const GuardedOutcome outcome = tavo::testing::finishGuarded(editor);
        EXPECT_EQ(outcome.status, -signal) << outcome.err;
        EXPECT_EQ(pointsInCopy(), 3) << copies().join(' ').toStdString();
    }
}

// Qt ends the program itself when the X server goes; the copy is written on the way out.
TEST_F(LiveEditor, WhenTheDisplayIsLostTheCopyHoldsEveryPoint) {
    QProcess server;
    const QString display = startXvfb(server);
    ASSERT_FALSE(display.isEmpty()) << "no Xvfb";
    env_.insert("DISPLAY", ":" + display);
    GuardedChild editor = startGuardedEditor({"e", onePointFile()}, "POINT EDITOR - mission.pd1");
    ASSERT_FALSE(window_.isEmpty());
    placeTwoPointsTheLastNotYetCopied();
    QThread::msleep(200);
    server.kill();
    server.waitForFinished(5000);
    const GuardedOutcome outcome = tavo::testing::finishGuarded(editor);
    EXPECT_NE(outcome.err.find("The X11 connection broke"), std::string::npos) << outcome.err;
    EXPECT_EQ(pointsInCopy(), 3) << copies().join(' ').toStdString();
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

    // key, whether the editor ends by SIGKILL at once (else it is closed)
    for (const char* key : {"Return", "Escape"}) {
        SCOPED_TRACE(key);
        GuardedChild editor = startGuardedEditor({"e", points}, "POINT EDITOR - mission.pd1");
        const QString question = waitForWindow("POINT EDITOR");
        ASSERT_FALSE(question.isEmpty()) << "not offered";
        xdotool({"windowfocus", "--sync", question});
        xdotool({"key", key});
        EXPECT_TRUE(poll(100, 50, [&] {
            return xdotool({"search", "--onlyvisible", "--name", "^POINT EDITOR$"}).isEmpty();
        }));
        if (std::string(key) == "Return") {
            EXPECT_FALSE(waitForWindow("POINT EDITOR - mission.pd1 \\*").isEmpty());
            ::kill(editor.pid, SIGKILL);
        } else {
            run(X_CLOSE_BINARY, {window_}); // nothing unsaved: ends at once
        }
        const GuardedOutcome outcome = tavo::testing::finishGuarded(editor);
        EXPECT_EQ(outcome.status, std::string(key) == "Return" ? -SIGKILL : 0) << outcome.err;
        const auto offered = tavo::findOrphanRecovery(stateFolder());
        ASSERT_TRUE(offered.has_value()) << "nothing left to offer";
        EXPECT_EQ(tavo::countUsedPoints(offered->points.table), 2);
    }
}

} // namespace
