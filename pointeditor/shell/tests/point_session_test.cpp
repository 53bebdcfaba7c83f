// The running editor's safety net on the real window with synthetic Qt events: shortcuts before
// the key handler, undo around messages, the question on closing, the title, the command line
// and the recovery file.

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QTextDocument>
#include <QtGui/QTextTable>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/mount.h>
#include <unistd.h>

#include "common/files/file_read.h"
#include "pointeditor/data/point_load.h"
#include "pointeditor/display/draw_frame.h"
#include "pointeditor/edit/document.h"
#include "pointeditor/edit/keyboard.h"
#include "pointeditor/shell/command_line.h"
#include "pointeditor/shell/editor_window.h"
#include "pointeditor/shell/point_session.h"
#include "pointeditor/shell/recovery.h"
#include "pointeditor/shell/shortcuts.h"
#include "qt_events.h"
#include "tests/support/fake_platform.h"
#include "tests/support/scratch_directory.h"

namespace tavo {
namespace {

using testing::FakePlatform;
using testing::keyPress;
using testing::RecordedQuestion;
using testing::send;
using testing::waitFor;

TEST(Shortcuts, CtrlCombinationsF1AndF6AreTakenEveryOtherKeyIsLeftToTheHandler) {
    using namespace Qt;
    constexpr KeyboardModifiers N = NoModifier, C = ControlModifier, S = ShiftModifier;
    constexpr KeyboardModifiers A = AltModifier;
    using enum Shortcut;
    const std::tuple<int, KeyboardModifiers, Shortcut> cases[] = {
        {Key_Z, C, Undo},          {Key_Y, C, Redo},       {Key_Z, C | S, Redo},
        {Key_S, C, Save},          {Key_S, C | S, SaveAs}, {Key_O, C, LoadPoint},
        {Key_O, C | S, LoadBlock}, {Key_F1, N, Help},      {Key_A, C, None},
        {Key_Z, C | A, None},      {Key_Z, N, None},       {Key_F5, N, None},
        {Key_C, C, Copy},          {Key_X, C, Cut},        {Key_V, C, Paste},
        {Key_D, C, Duplicate},     {Key_C, C | S, None},   {Key_V, N, None},
        {Key_F6, N, Inspector},    {Key_F6, C, None},      {Key_F6, A, None},
        {Key_F7, N, None}};
    for (auto [key, modifiers, shortcut] : cases) {
        EXPECT_EQ(shortcutFor(key, modifiers), shortcut) << std::hex << key << " " << modifiers;
    }
}

// Every row of the help is an input and what it does, in two columns whose phrases never wrap;
// the README lists the same rows, and the Japanese rows name the same keys and commands.
TEST(Shortcuts, TheHelpIsATableOfEveryInputInBothLanguages) {
    QFile readmeFile(TAVO_SOURCE_DIR "/README.md");
    ASSERT_TRUE(readmeFile.open(QIODevice::ReadOnly));
    const QString readme = QString::fromUtf8(readmeFile.readAll());
    QStringList englishInputs;
    for (bool english : {true, false}) {
        SCOPED_TRACE(english ? "English" : "Japanese");
        QTextDocument help;
        help.setHtml(QString::fromStdString(helpText(english)));
        QTextTable* table = nullptr;
        for (QTextFrame* frame : help.rootFrame()->childFrames()) {
            table = table != nullptr ? table : qobject_cast<QTextTable*>(frame);
        }
        ASSERT_NE(table, nullptr) << "a table";
        EXPECT_EQ(table->columns(), 2) << "input and action";
        const auto text = [&](const QTextTableCell& cell) {
            return help.toPlainText().mid(cell.firstPosition(),
                                          cell.lastPosition() - cell.firstPosition());
        };
        QStringList inputs;
        for (int row = 0; row < table->rows(); ++row) {
            const QTextTableCell input = table->cellAt(row, 0), action = table->cellAt(row, 1);
            inputs << text(input);
            if (action.column() != 1) {
                continue; // a section's heading
            }
            const QString line = "| " + text(input) + " | " + text(action) + " |";
            EXPECT_EQ(!english || readme.contains(line), true)
                << "the README lacks " << line.toStdString();
            for (const QTextTableCell& cell : {input, action}) {
                EXPECT_EQ(cell.firstCursorPosition().blockFormat().nonBreakableLines(), true)
                    << "row " << row << " column " << cell.column() << " wraps";
            }
        }
        englishInputs = english ? inputs : englishInputs;
        ASSERT_EQ(inputs.size(), englishInputs.size()) << "rows";
        // A menu command's name, a function key and a Ctrl combination read the same in both.
        for (int row = 0; row < inputs.size(); ++row) {
            const QString& same = englishInputs[row];
            const qsizetype colon = same.indexOf(':');
            const bool key = (same.startsWith("Ctrl") ||
                              (same.startsWith("F") && same.size() > 1 && same[1].isDigit())) &&
                             !same.contains("click");
            const QString shared = colon > 0 ? same.left(colon) : key ? same : QString();
            EXPECT_EQ(inputs[row].startsWith(shared), true)
                << inputs[row].toStdString() << " for " << same.toStdString();
        }
    }
    for (const char* input :
         {"Ctrl+A", "Ctrl+F", "Ctrl+C", "Ctrl+X", "Ctrl+V", "Ctrl+D", "Delete", "Home", "End",
          "Escape", "Ctrl+click a point", "Ctrl+Shift+click a point", "Wheel over a 2D pane"}) {
        EXPECT_EQ(englishInputs.contains(input), true) << input;
    }
}

TEST(CommandLine, ALanguageLetterThenFilesByExtensionOrContentAndInspectorAnywhere) {
    const testing::ScratchDirectory dir;
    const auto make = [&](const char* name, std::size_t size) {
        return dir.write(name, std::string(size, '\0'));
    };
    const std::string map = make("map", 312 + 316), points = make("points", 2 + 20),
                      odd = make("odd", 7), j = make("j", 22), empty = make("empty", 0),
                      header = make("header", 312), count = make("count", 2),
                      mission = dir.write("mission", "m\nf\nb\np\n3\r\n-1\n!\ni\n!\n"),
                      eight = dir.write("eight", "m\nf\nb\np\n3\n1\n!\ni\n"),
                      wordSky = dir.write("word", "m\nf\nb\np\nsun\n1\n!\ni\n!\n"),
                      noFlags = dir.write("noflags", "m\nf\nb\np\n1\n\n!\ni\n!\n");
    // name, arguments, expected
    const std::tuple<const char*, std::vector<std::string>, CommandLine> cases[] = {
        {"nothing", {}, {"", "", "", "", {}}},
        {"letter", {"j"}, {"j", "", "", "", {}}},
        {"a map first", {"a.bd1"}, {"", "a.bd1", "", "", {}}},
        {"a mission first", {"a.mif"}, {"", "", "", "a.mif", {}}},
        {"letter and all", {"e", "a.bd1", "b.pd1", "c.mif"}, {"e", "a.bd1", "b.pd1", "c.mif", {}}},
        {"any order", {"c.MiF", "b.PD1", "a.Bd1"}, {"", "a.Bd1", "b.PD1", "c.MiF", {}}},
        {"by size", {"x", points, map}, {"x", map, points, "", {}}},
        {"a map's header alone", {header}, {"", header, "", "", {}}},
        {"a count alone", {count}, {"", "", count, "", {}}},
        {"by its lines", {"e", mission}, {"e", "", "", mission, {}}},
        {"neither size", {odd}, {"", "", "", "", {odd}}},
        {"empty", {empty}, {"", "", "", "", {empty}}},
        {"eight lines", {eight}, {"", "", "", "", {eight}}},
        {"a sky that is a word", {wordSky}, {"", "", "", "", {wordSky}}},
        {"flags that are empty", {noFlags}, {"", "", "", "", {noFlags}}},
        {"a file named like a letter", {j}, {"", "", j, "", {}}},
        {"missing", {"j", "gone.pd1"}, {"j", "", "gone.pd1", "", {}}},
        {"missing without a kind", {"j", "gone"}, {"j", "", "", "", {"gone"}}},
        {"the last of a kind", {"a.pd1", "b.pd1"}, {"", "", "b.pd1", "", {}}},
        {"--inspector first", {"--inspector", "j", "a.pd1"}, {"j", "", "a.pd1", "", {}, true}},
        {"--inspector between", {"e", "--inspector", "a.pd1"}, {"e", "", "a.pd1", "", {}, true}},
        {"--inspector last", {"a.pd1", "--inspector"}, {"", "", "a.pd1", "", {}, true}},
        {"misspelt", {"--inspect"}, {"--inspect", "", "", "", {}, false}},
    };
    for (const auto& [name, arguments, expected] : cases) {
        const CommandLine line = parseCommandLine(arguments);
        EXPECT_EQ(std::tuple(line.language, line.mapPath, line.pointPath, line.missionPath,
                             line.refused, line.inspector),
                  std::tuple(expected.language, expected.mapPath, expected.pointPath,
                             expected.missionPath, expected.refused, expected.inspector))
            << name;
    }
}

// The window with a session over a scripted platform; the key handler writes down every key it
// gets.
class Session : public testing::QtTest {
protected:
    Session() {
        state->platform = &platform;
        state->running = 1;
        state->pointTable.points[0] = {10, 0, 10, 0, 2, 0, 0, 4};
        state->pointTable.pointUsed[0] = SlotSelected;
        state->savedPoints = state->pointTable;
        window.setPointSession(&session);
    }
    // The editor's own handlers, frames without panes (there is no device).
    EditorHandlers handlers() {
        EditorHandlers h =
            editorHandlers([this](const EditorState& s) { drawFrame(s, platform, nullptr); });
        h.onKeyDown = [this](EditorState& s, int key) {
            keys.push_back(key);
            onKeyDown(s, key);
        };
        return h;
    }
    std::string file(const char* name) const { return dir.filePath(name).toStdString(); }
    // Another session over the window in place of the last such, on `folder` with these times.
    PointSession& replaced(std::optional<QString> folder, RecoveryTimes times = {60'000, 60'000}) {
        other.reset();
        other = std::make_unique<PointSession>(edits, window, std::move(folder), times);
        window.setPointSession(other.get());
        return *other;
    }

    QTemporaryDir dir;
    FakePlatform platform;
    std::vector<int> keys;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::unique_ptr<Canvas> canvas = std::make_unique<Canvas>();
    EditSession edits{*state, handlers()};
    EditorWindow window{edits, *canvas};
    PointSession session{edits, window, dir.path(), {60'000, 60'000}};
    std::unique_ptr<PointSession> other;
};

TEST_F(Session, ShortcutsReachTheirCommandsAndCtrlWithAnyOtherKeyActsAsThePlainKey) {
    state->pointFilePath = file("mission.pd1");
    send(window, keyPress(Qt::Key_Right));
    EXPECT_EQ(window.windowTitle(), "POINT EDITOR - mission.pd1 *");
    ASSERT_TRUE(session.recovery()->write(*state));
    send(window, keyPress(Qt::Key_Z, Qt::ControlModifier));
    EXPECT_EQ(state->pointTable.points[0].r, 0.0f) << "Ctrl+Z undid the turn";
    EXPECT_EQ(QFile::exists(session.recovery()->path()), false) << "back at the saved table";
    send(window, keyPress(Qt::Key_Y, Qt::ControlModifier));
    EXPECT_EQ(state->pointTable.points[0].r, 0.3926990f) << "Ctrl+Y redid it";
    ASSERT_TRUE(session.recovery()->write(*state));
    send(window, keyPress(Qt::Key_S, Qt::ControlModifier)); // saves without a dialog
    EXPECT_EQ(std::tuple(QFile::exists(dir.filePath("mission.pd1")), platform.dialogs.size(),
                         window.windowTitle()),
              std::tuple(true, 0u, "POINT EDITOR - mission.pd1"));
    EXPECT_EQ(QFile::exists(session.recovery()->path()), false) << "a copy after the save";
    platform.control = true;
    send(window, keyPress(Qt::Key_Left, Qt::ControlModifier));
    EXPECT_EQ(state->pointTable.points[0].r, 0.0f) << "Ctrl+Left turned back as Left";
    send(window, keyPress(Qt::Key_F1));
    ASSERT_EQ(platform.helps.size(), 1u);
    EXPECT_EQ(platform.helps[0].second, "HELP");
    send(window, keyPress(Qt::Key_F6)); // taken even before there is an inspector to open
    int opened = 0;
    session.setInspectorOpener([&opened] { ++opened; });
    send(window, keyPress(Qt::Key_F6));
    EXPECT_EQ(opened, 1) << "inspector openings";
    EXPECT_EQ(keys, (std::vector<int>{0x27, 0x25})) << "Ctrl+S, F1 or F6 reached the keys";
}

TEST_F(Session, AFileShortcutLeavesTheCommandUnderWayGoingOn) {
    state->pointFilePath = file("mission.pd1");
    state->pointTable.points[0].x = 12; // unsaved
    state->menuMode = MenuMovePoint;
    send(window, keyPress(Qt::Key_S, Qt::ControlModifier));
    EXPECT_EQ(QFile::exists(dir.filePath("mission.pd1")), true) << "saved";
    EXPECT_EQ(state->menuMode, MenuMovePoint) << "MOVE POINT goes on after Ctrl+S";
    int32_t lit = MenuNone;
    platform.whileModal = [&] { lit = state->menuMode; };
    state->menuMode = MenuSelectPoint;
    send(window, keyPress(Qt::Key_O, Qt::ControlModifier)); // the dialog is cancelled
    EXPECT_EQ(lit, MenuLoadPoint) << "LOAD POINT lit while its dialog is open";
    EXPECT_EQ(state->menuMode, MenuSelectPoint) << "SELECT goes on after Ctrl+O";
}

TEST_F(Session, ClosingWithUnsavedPointsAsksAndOnlySaveOrDiscardLetTheWindowGo) {
    // The answer, the save dialog's answer, then whether the window closed; the points stay.
    // (Which answers settle the points is the question's own test's.)
    const std::tuple<BoxAnswer, std::optional<std::string>, bool> cases[] = {
        {BoxAnswer::Cancel, std::nullopt, false},
        {BoxAnswer::Save, std::nullopt, false}, // the dialog was cancelled
        {BoxAnswer::Save, file("closing.pd1"), true},
        {BoxAnswer::Discard, std::nullopt, true},
    };
    for (auto [answer, dialog, closed] : cases) {
        SCOPED_TRACE(int(answer));
        state->running = 1;
        window.show();
        if (!hasUnsavedPoints(*state)) {
            send(window, keyPress(Qt::Key_Right));
        }
        platform.boxAnswers = {answer};
        platform.dialogAnswers = {dialog};
        EXPECT_EQ(window.close(), closed);
        EXPECT_EQ(state->running, closed ? 0 : 1);
        EXPECT_EQ(state->pointTable.pointUsed[0], 2);
    }
    EXPECT_EQ(QFile::exists(dir.filePath("closing.pd1")), true);
}

TEST_F(Session, TheCommandLineLoadsItsFilesAndAMissingOneGivesOneErrorBox) {
    ASSERT_TRUE(savePointFile(*state, file("mission.pd1")));
    state->pointTable.pointUsed.fill(SlotFree);
    session.start({"e", file("gone.bd1"), file("mission.pd1"), "", {}});
    ASSERT_EQ(platform.boxes.size(), 1u);
    // Loading at start is no undo step.
    EXPECT_EQ(std::tuple(platform.boxes[0].text, state->pointTable.pointUsed[0],
                         window.windowTitle(), session.history().undoSteps()),
              std::tuple("file open error", 1, "POINT EDITOR - mission.pd1", 0u));
}

// A mission opens the map and points its paths lead to, from the game's folder above it, as
// the mission editor's F6 does; a path that leads nowhere and a file of no known kind are told
// by name and open nothing.
TEST_F(Session, AMissionOpensItsMapAndPointsAndAFileOfNoKindIsRefused) {
    QDir(dir.path()).mkpath("data/missions");
    ASSERT_TRUE(savePointFile(*state, file("data/Mission.pd1")));
    state->pointTable.pointUsed.fill(SlotFree);
    std::ofstream(file("data/M.bd1")) << std::string(312, '\0');
    const std::string mission = file("data/missions/m.mif");
    std::ofstream(mission) << "m\r\nf\r\n.\\data\\m.bd1\r\n.\\data\\mission.pd1\r\n1\r\n0\r\n!"
                              "\r\ni\r\n!\r\n";
    session.start({"e", "", "", mission, {file("notes.txt")}});
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text,
              file("notes.txt") + " is not a map (.bd1), points (.pd1) or mission (.mif) file; "
                                  "not opened");
    EXPECT_EQ(state->pointTable.pointUsed[0], 1) << "the mission's points";
    EXPECT_EQ(state->pointFilePath, file("data/Mission.pd1"));
    EXPECT_EQ(std::string(state->blockDir), file("data"));
    EXPECT_EQ(window.windowTitle(), "POINT EDITOR - Mission.pd1");
}

TEST_F(Session, AMissionWhosePathsLeadNowhereSaysWhichAndOpensNothing) {
    const std::string mission = file("m.mif");
    std::ofstream(mission) << "m\r\nf\r\n.\\none.bd1\r\n.\\none.pd1\r\n1\r\n0\r\n!\r\ni\r\n!\r\n";
    state->english = 0;
    session.start({"j", "", "", mission, {}});
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "ブロックのパス名: .\\none.bd1 のファイルが " +
                                          dir.path().toStdString() +
                                          " にもその上のどのフォルダーにもありません");
    EXPECT_EQ(state->pointFilePath, "");
}

// The copy at path as the next editor would read it.
std::optional<RecoveredPoints> readCopy(const QString& path) {
    auto bytes = readWholeFile(QFile::encodeName(path).toStdString(), LargestRecoverySize);
    return bytes ? decodeRecovery(*bytes) : std::nullopt;
}

// The copy of an editor that did not end normally: written, then its lock let go; its point 5
// has the id 7.
QString orphanCopy(const QString& folder, const std::string& pointFile) {
    EditorState lost;
    lost.pointFilePath = pointFile;
    lost.pointTable.points[5] = {1, 2, 3, 0, 1, 0, 0, 7};
    lost.pointTable.pointUsed[5] = SlotUsed;
    RecoveryFile dead(folder);
    EXPECT_TRUE(dead.write(lost));
    return dead.path();
}

// The question shows a stored path's control bytes escaped and its buttons in the language;
// Escape (Later) keeps the copy for the next start, and only Discard removes it.
TEST_F(Session, EscapeOnTheRestoreQuestionKeepsTheCopyForTheNextStartAndOnlyDiscardRemovesIt) {
    const QString old = orphanCopy(dir.path(), "/m/a\nb\x1b[2J.pd1");
    // language, the answer, the discard button, the question
    const std::tuple<int, DeferrableAnswer, const char*, const char*> rows[] = {
        {1, DeferrableAnswer::Later, "Discard",
         "The editor did not end normally and its points were not saved "
         "(/m/a\\nb\\x1b[2J.pd1).\nRestore them?"},
        {0, DeferrableAnswer::Discard, "破棄",
         "前回エディタが正常に終了せず、ポイントが保存されていません（/m/a\\nb\\x1b[2J.pd1）。\n"
         "復元しますか？"},
    };
    for (const auto& [english, answer, discard, shown] : rows) {
        SCOPED_TRACE(discard);
        state->english = english;
        platform.questionAnswers = {answer};
        replaced(dir.path()).start({});
        ASSERT_EQ(platform.questions.empty(), false) << "not offered";
        EXPECT_EQ(platform.questions.back().text, shown);
        EXPECT_EQ(platform.questions.back().discard, discard);
        EXPECT_EQ(platform.questions.back().caption, "POINT EDITOR");
        EXPECT_EQ(state->pointTable.pointUsed[5], 0) << "restored";
    }
    EXPECT_EQ(platform.questions.size(), 2u) << "offered again after Later";
    EXPECT_EQ(QFile::exists(old), false) << "discarded";
    EXPECT_EQ(QFile::exists(recoveryLockPath(old)), false) << "its lock file too";
    replaced(dir.path()).start({});
    EXPECT_EQ(platform.questions.size(), 2u) << "nothing left to offer";
}

TEST_F(Session, RestoredPointsAreUnsavedAndInTheNewCopyBeforeTheOldOneGoes) {
    const QString old = orphanCopy(dir.path(), file("mission.pd1"));
    session.start({});
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(std::tuple(state->pointTable.pointUsed[5], state->pointTable.points[5].p4,
                         window.windowTitle()),
              std::tuple(1, 7, "POINT EDITOR - mission.pd1 *"));
    const auto copy = readCopy(session.recovery()->path());
    ASSERT_TRUE(copy.has_value()) << "no new copy";
    EXPECT_EQ(sameTable(copy->table, state->pointTable), true);
    EXPECT_EQ(copy->pointFilePath, file("mission.pd1"));
    EXPECT_EQ(QFile::exists(old), false) << "the old copy stayed";
    // A normal end removes this editor's own copy and lock file and nothing else.
    session.finish();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST_F(Session, ACopyIsOfferedWhenNobodyHoldsItWhateverProcessItsNameNames) {
    EditorState lost;
    lost.pointTable.pointUsed[5] = SlotUsed;
    RecoveryFile running(dir.path()); // another editor, still running: it holds its lock
    ASSERT_TRUE(running.write(lost));
    session.start({});
    EXPECT_EQ(platform.questions.size(), 0u) << "a held copy was offered";
    // Named as an earlier editor named its copy, for a process that runs now (this one):
    // nobody holds it, so it is offered, and this editor's normal end leaves it alone.
    const QString byPid = dir.filePath(
        QStringLiteral("pointeditor-%1.recovery").arg(QCoreApplication::applicationPid()));
    const std::vector<uint8_t> bytes = encodeRecovery({lost.pointTable, "", ""});
    std::ofstream(QFile::encodeName(byPid).toStdString())
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    platform.questionAnswers = {DeferrableAnswer::Later};
    PointSession& next = replaced(dir.path());
    next.start({});
    EXPECT_EQ(platform.questions.size(), 1u) << "an unheld copy was not offered";
    next.finish();
    EXPECT_EQ(QFile::exists(byPid), true) << "removed by a normal end";
    EXPECT_EQ(QFile::exists(running.path()), true) << "removed by a normal end";
}

// A change is copied once the changes pause, and changes that never pause by the period.
TEST_F(Session, AChangeIsCopiedAfterAShortPauseAndByThePeriod) {
    PointSession& quick = replaced(dir.path(), {60'000, 400});
    quick.start({});
    send(window, keyPress(Qt::Key_Right));
    waitFor([] { return false; }, 100);
    EXPECT_EQ(QFile::exists(quick.recovery()->path()), false) << "written before the pause";
    ASSERT_TRUE(waitFor([&] { return QFile::exists(quick.recovery()->path()); }))
        << "not written after the pause";
    const auto copy = readCopy(quick.recovery()->path());
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(copy->table.points[0].r, state->pointTable.points[0].r);
    send(window, keyPress(Qt::Key_Right)); // due after the pause, but the editor ends first
    quick.finish();
    waitFor([] { return false; }, 600);
    EXPECT_EQ(QFile::exists(quick.recovery()->path()), false) << "written after a normal end";
    PointSession& periodic = replaced(dir.filePath("periodic"), {50, 60'000});
    periodic.start({});
    send(window, keyPress(Qt::Key_Right));
    EXPECT_TRUE(waitFor([&] { return QFile::exists(periodic.recovery()->path()); }));
    send(window, keyPress(Qt::Key_Right));
    periodic.finish();
    waitFor([] { return false; }, 300);
    EXPECT_EQ(QFile::exists(periodic.recovery()->path()), false) << "written after a normal end";
}

// Each folder problem: told once, on standard error and in a box that names the folder.
TEST_F(Session, ACopyThatCannotBeWrittenIsToldOnceWithItsFolder) {
    const QString notFolder = dir.filePath("state");
    std::ofstream(notFolder.toStdString()) << "";
    const QString foreign = dir.filePath("foreign");
    QDir().mkpath(foreign);
    const bool chowned = ::chown(QFile::encodeName(foreign).constData(), ::geteuid() + 1, 0) == 0;
    // the folder given, what the box and the line say
    const std::tuple<const char*, std::optional<QString>, std::string> rows[] = {
        {"the folder is a file", notFolder,
         "cannot keep recovery copies in " + notFolder.toStdString() + ": it is a regular file"},
        {"no folder", std::nullopt, "recovery copies are off"},
        {"another user's folder", foreign,
         "cannot keep recovery copies in " + foreign.toStdString() + ": it belongs to another"},
    };
    for (const auto& [name, folder, said] : rows) {
        SCOPED_TRACE(name);
        if (folder == foreign && !chowned) {
            continue; // only root can give a folder away
        }
        platform.boxes.clear();
        PointSession& failing = replaced(folder, {60'000, 20});
        ::testing::internal::CaptureStderr();
        failing.start({});
        send(window, keyPress(Qt::Key_Right));
        failing.writeRecoveryNow();
        waitFor([] { return false; }, 100);
        const std::string err = ::testing::internal::GetCapturedStderr();
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_NE(platform.boxes[0].text.find(said), std::string::npos) << platform.boxes[0].text;
        EXPECT_EQ(platform.boxes[0].text.rfind("Recovery copies cannot be written: ", 0), 0u)
            << platform.boxes[0].text;
        EXPECT_EQ(err, "pointeditor: " +
                           platform.boxes[0].text.substr(platform.boxes[0].text.find('\n') + 1) +
                           "\n");
    }
    EXPECT_EQ(QDir(foreign).entryList(QDir::Files), QStringList()) << "written all the same";
}

// A file system of a few pages in a scratch folder, for a full disk; unmounted when it goes.
struct SmallDisk : testing::ScratchDirectory {
    SmallDisk() {
        std::filesystem::create_directories(at("state"));
        error = ::mount("tmpfs", at("state").c_str(), "tmpfs", 0, "size=16k,mode=0700") ? errno : 0;
    }
    ~SmallDisk() {
        if (error == 0) {
            ::umount2(at("state").c_str(), MNT_DETACH);
        }
    }
    QString folder() const { return QString::fromStdString(at("state/tavo")); }
    // The rest of the space goes to a file of somebody else's.
    void fill() const {
        std::ofstream filler(at("state/filler"), std::ios::binary);
        const std::string page(4096, 'x');
        for (int i = 0; i < 16 && filler.write(page.data(), 4096).flush(); ++i) {
        }
    }
    int error = 0;
};

// A full disk keeps the previous copy and says so once; offered to the next editor, that copy
// is restored though no new one fits, and stays.
TEST_F(Session, AFullDiskKeepsThePreviousCopyAndSaysSoOnce) {
    const SmallDisk disk;
    if (disk.error != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(disk.error);
    }
    PointSession& full = replaced(disk.folder(), {60'000, 20});
    full.start({});
    send(window, keyPress(Qt::Key_Right));
    ASSERT_TRUE(waitFor([&] { return readCopy(full.recovery()->path()).has_value(); }));
    const float firstTurn = state->pointTable.points[0].r;
    disk.fill();
    ::testing::internal::CaptureStderr();
    for (int turn = 0; turn < 2; ++turn) {
        send(window, keyPress(Qt::Key_Right));
        waitFor([] { return false; }, 150);
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    const QString old = full.recovery()->path();
    const auto copy = readCopy(old);
    ASSERT_TRUE(copy.has_value()) << "the previous copy was spoiled";
    EXPECT_EQ(copy->table.points[0].r, firstTurn);
    ASSERT_EQ(platform.boxes.size(), 1u) << "told more than once, or not at all";
    EXPECT_NE(platform.boxes[0].text.find(disk.folder().toStdString()), std::string::npos)
        << platform.boxes[0].text;
    EXPECT_NE(err.find("No space left on device"), std::string::npos) << err;

    ::testing::internal::CaptureStderr();
    replaced(disk.folder()).start({}); // the editor before ended abnormally
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(state->pointTable.points[0].r, firstTurn) << "not restored";
    EXPECT_EQ(readCopy(old).has_value(), true) << "the only copy went";
    EXPECT_EQ(platform.boxes.size(), 2u) << "the new copy's failure not told";
}

} // namespace
} // namespace tavo
