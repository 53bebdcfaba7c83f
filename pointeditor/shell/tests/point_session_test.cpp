// The running editor's safety net on the real window with synthetic Qt events: shortcuts before
// the key handler, undo around messages, the question on closing, the title, the command line
// and the recovery file.

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <memory>
#include <unistd.h>

#include "pointeditor/data/point_file.h"
#include "pointeditor/display/draw_frame.h"
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
using testing::send;

TEST(Shortcuts, CtrlCombinationsAndF1AreTakenEveryOtherKeyIsLeftToTheHandler) {
    using namespace Qt;
    constexpr KeyboardModifiers N = NoModifier, C = ControlModifier, S = ShiftModifier;
    constexpr KeyboardModifiers A = AltModifier;
    using enum Shortcut;
    const std::tuple<int, KeyboardModifiers, Shortcut> cases[] = {
        {Key_Z, C, Undo},          {Key_Y, C, Redo},       {Key_Z, C | S, Redo},
        {Key_S, C, Save},          {Key_S, C | S, SaveAs}, {Key_O, C, LoadPoint},
        {Key_O, C | S, LoadBlock}, {Key_F1, N, Help},      {Key_A, C, None},
        {Key_Z, C | A, None},      {Key_Z, N, None},       {Key_F5, N, None}};
    for (auto [key, modifiers, shortcut] : cases) {
        EXPECT_EQ(shortcutFor(key, modifiers), shortcut) << std::hex << key << " " << modifiers;
    }
}

TEST(CommandLine, ALanguageLetterThenFilesInAnyOrderByExtensionOrSize) {
    const testing::ScratchDirectory dir;
    const auto make = [&](const char* name, std::size_t size) {
        return dir.write(name, std::string(size, '\0'));
    };
    const std::string map = make("map", 312 + 316), points = make("points", 2 + 20),
                      odd = make("odd", 7), j = make("j", 22);
    // name, arguments, expected
    const std::tuple<const char*, std::vector<std::string>, CommandLine> cases[] = {
        {"nothing", {}, {"", "", ""}},
        {"letter", {"j"}, {"j", "", ""}},
        {"letter and both", {"e", "a.bd1", "b.pd1"}, {"e", "a.bd1", "b.pd1"}},
        {"any order", {"b.PD1", "a.Bd1"}, {"", "a.Bd1", "b.PD1"}},
        {"by size", {"x", points, map}, {"x", map, points}},
        {"neither size", {odd}, {"", "", odd}},
        {"a file named like a letter", {j}, {"", "", j}},
        {"missing", {"j", "gone.pd1"}, {"j", "", "gone.pd1"}},
        {"the last of a kind", {"a.pd1", "b.pd1"}, {"", "", "b.pd1"}},
    };
    for (const auto& [name, arguments, expected] : cases) {
        const CommandLine line = parseCommandLine(arguments);
        EXPECT_EQ(std::tuple(line.language, line.mapPath, line.pointPath),
                  std::tuple(expected.language, expected.mapPath, expected.pointPath))
            << name;
    }
}

TEST(Recovery, TheFileKeepsTableAndPathsAndTheReaderRefusesAnyOtherShape) {
    RecoveredPoints points;
    points.table.points[3] = {1.5f, -2, 3, 0.25f, 1, -2, 3, -4};
    points.table.pointUsed[3] = SlotSelected;
    points.table.points[7].x = 9; // a free slot's leftover record
    points.pointFilePath = "/m/mission.pd1";
    points.blockFilePath = "/m/map.bd1";
    const std::vector<uint8_t> bytes = encodeRecovery(points);
    auto back = decodeRecovery(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(
        std::tuple(sameTable(back->table, points.table), back->pointFilePath, back->blockFilePath),
        std::tuple(true, points.pointFilePath, points.blockFilePath));
    const std::pair<const char*, std::function<void(std::vector<uint8_t>&)>> spoiled[] = {
        {"empty", [](auto& b) { b.clear(); }},
        {"tag", [](auto& b) { b[0] ^= 1; }},
        {"one byte short", [](auto& b) { b.pop_back(); }},
        {"one byte more", [](auto& b) { b.push_back(0); }},
        {"path longer than the file", [](auto& b) { b[8] = 0xFF, b[9] = 0xFF; }},
        {"slot state 3", [&](auto& b) { b[bytes.size() - 200 * 21 + 3 * 21] = 3; }},
    };
    for (const auto& [name, spoil] : spoiled) {
        std::vector<uint8_t> copy = bytes;
        spoil(copy);
        EXPECT_EQ(decodeRecovery(copy).has_value(), false) << name;
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

    QTemporaryDir dir;
    FakePlatform platform;
    std::vector<int> keys;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::unique_ptr<Canvas> canvas = std::make_unique<Canvas>();
    EditSession edits{*state, handlers()};
    EditorWindow window{edits, *canvas};
    PointSession session{edits, window, dir.path(), QCoreApplication::applicationPid(), 60'000};
};

TEST_F(Session, ShortcutsReachTheirCommandsAndCtrlWithAnyOtherKeyActsAsThePlainKey) {
    state->pointFilePath = file("mission.pd1");
    send(window, keyPress(Qt::Key_Right));
    EXPECT_EQ(window.windowTitle(), "POINT EDITOR - mission.pd1 *");
    session.recovery().write(*state);
    ASSERT_EQ(QFile::exists(session.recovery().path()), true);
    send(window, keyPress(Qt::Key_Z, Qt::ControlModifier));
    // Ctrl+Z undid the turn: back at the saved table, so no recovery file.
    EXPECT_EQ(std::tuple(state->pointTable.points[0].r, QFile::exists(session.recovery().path())),
              std::tuple(0.0f, false));
    send(window, keyPress(Qt::Key_Y, Qt::ControlModifier));
    EXPECT_EQ(state->pointTable.points[0].r, 0.3926990f) << "Ctrl+Y redid it";
    send(window, keyPress(Qt::Key_S, Qt::ControlModifier)); // saves without a dialog
    EXPECT_EQ(std::tuple(QFile::exists(dir.filePath("mission.pd1")), platform.dialogs.size(),
                         window.windowTitle()),
              std::tuple(true, 0u, "POINT EDITOR - mission.pd1"));
    send(window, keyPress(Qt::Key_A, Qt::ControlModifier));
    EXPECT_EQ(state->currentParams[0], 1) << "Ctrl+A stepped the kind";
    EXPECT_EQ(keys, (std::vector<int>{0x27, 0x41}));
    send(window, keyPress(Qt::Key_F1));
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].caption, "HELP");
}

TEST_F(Session, ClosingWithUnsavedPointsAsksAndOnlySaveOrDiscardLetTheWindowGo) {
    window.show();
    send(window, keyPress(Qt::Key_Right));
    // The answer, the save dialog's answer, then whether the window closed.
    const std::tuple<BoxAnswer, std::optional<std::string>, bool> cases[] = {
        {BoxAnswer::Cancel, std::nullopt, false},
        {BoxAnswer::Save, std::nullopt, false}, // the dialog was cancelled
        {BoxAnswer::Save, file("no/such/folder.pd1"), false},
        {BoxAnswer::Save, file("closing.pd1"), true},
    };
    for (auto [answer, dialog, closed] : cases) {
        SCOPED_TRACE(int(answer));
        platform.boxAnswers = {answer};
        platform.dialogAnswers = {dialog};
        window.show();
        EXPECT_EQ(window.close(), closed);
        // The points stay.
        EXPECT_EQ(std::tuple(state->running, state->pointTable.pointUsed[0]),
                  std::tuple(closed ? 0 : 1, 2));
    }
    EXPECT_EQ(QFile::exists(dir.filePath("closing.pd1")), true);
    state->running = 1;
    window.show();
    send(window, keyPress(Qt::Key_Right));
    platform.boxAnswers = {BoxAnswer::Discard};
    EXPECT_EQ(window.close(), true);
}

TEST_F(Session, TheCommandLineLoadsItsFilesAndAMissingOneGivesOneErrorBox) {
    ASSERT_TRUE(savePointFile(*state, file("mission.pd1")));
    state->pointTable.pointUsed.fill(SlotFree);
    session.start({"e", file("gone.bd1"), file("mission.pd1")});
    ASSERT_EQ(platform.boxes.size(), 1u);
    // Loading at start is no undo step.
    EXPECT_EQ(std::tuple(platform.boxes[0].text, state->pointTable.pointUsed[0],
                         window.windowTitle(), session.history().undoSteps()),
              std::tuple("file open error", 1, "POINT EDITOR - mission.pd1", 0u));
}

TEST_F(Session, AKilledEditorsPointsComeBackAsUnsavedAndANormalEndLeavesNoFile) {
    // The editor that died: its file is written only once there is something unsaved.
    EditorState lost;
    lost.pointFilePath = file("mission.pd1");
    RecoveryFile dead(dir.path(), 999'999'999);
    dead.write(lost);
    EXPECT_EQ(QFile::exists(dead.path()), false) << "nothing unsaved";
    lost.pointTable.points[5] = {1, 2, 3, 0, 1, 0, 0, 7};
    lost.pointTable.pointUsed[5] = SlotUsed;
    dead.write(lost);
    ASSERT_EQ(QFile::exists(dead.path()), true);
    // A running editor's file is not offered.
    RecoveryFile alive(dir.path(), ::getppid());
    alive.write(lost);
    session.start({});
    ASSERT_EQ(platform.boxes.size(), 1u);
    // Answered, the dead editor's file goes; the running one's stays.
    EXPECT_EQ(std::tuple(platform.boxes[0].buttons, state->pointTable.pointUsed[5],
                         state->pointTable.points[5].p4, window.windowTitle(),
                         QFile::exists(dead.path()), QFile::exists(alive.path())),
              std::tuple(BoxButtons::YesNo, 1, 7, "POINT EDITOR - mission.pd1 *", false, true));
    // This editor's own file follows its unsaved changes and goes at a normal end.
    session.recovery().write(*state);
    EXPECT_EQ(QFile::exists(session.recovery().path()), true);
    session.finish();
    EXPECT_EQ(QFile::exists(session.recovery().path()), false);
    alive.remove();
}

} // namespace
} // namespace tavo
