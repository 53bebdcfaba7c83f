// Undo steps, the unsaved-changes question and the file commands, driven as the window's message
// path drives them: every message between beginMessage and endMessage.

#include <QtCore/QTemporaryDir>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "pointeditor/data/point_file.h"
#include "pointeditor/edit/document.h"
#include "pointeditor/edit/tests/editor_driver.h"
#include "pointeditor/edit/virtual_keys.h"

namespace tavo::testing {
namespace {

// Menu entries' hit points.
constexpr std::pair<int, int> NewPointEntry{608, 48}, MoveEntry{608, 108}, LoadPointEntry{608, 258};
constexpr std::pair<int, int> TopPaneSpot{170, 155}; // world (10, 0, 5) at the start-up view

// An editor whose slot 0 is selected and linked by id to slot 1, slot 1 in use, both as saved;
// the current parameters differ from both.
struct Saved : Editor {
    Saved() {
        pts[0] = {10, 0, 10, 0.5f, 2, 0, 5, 4};
        pts[1] = {30, 0, 10, 0, 2, 0, 0, 5};
        state.pointUsed[0] = 2;
        state.pointUsed[1] = 1;
        state.currentParams = {1, 2, 3, 9};
        state.savedPoints = currentPoints(state);
    }
    bool is(const PointTable& table) const { return sameTable(currentPoints(state), table); }
};

std::string fileIn(const QTemporaryDir& dir, const char* name) {
    return dir.filePath(name).toStdString();
}

TEST(UndoSteps, EachChangingCommandIsOneStepThatUndoAndRedoTakeBitForBit) {
    QTemporaryDir dir;
    Saved other;
    other.state.pointUsed[0] = 0;
    ASSERT_TRUE(savePointFile(other.state, fileIn(dir, "other.pd1")));
    const struct {
        const char* name;
        std::function<void(Saved&)> command;
        std::size_t steps;
    } cases[] = {
        {"NEW POINT click",
         [](Saved& e) {
             e.click({NewPointEntry, TopPaneSpot}, true);
         },
         1},
        {"LOAD POINT",
         [&](Saved& e) {
             e.platform.dialogAnswers = {fileIn(dir, "other.pd1")};
             e.click({LoadPointEntry}, true);
         },
         1},
        {"heading key", [](Saved& e) { e.press(vk::Right); }, 1},
        {"selection alone", [](Saved& e) { e.press(vk::numpad(0)); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Saved e;
        e.moveTo(TopPaneSpot.first, TopPaneSpot.second);
        const PointTable before = currentPoints(e.state);
        c.command(e);
        const PointTable after = currentPoints(e.state);
        EXPECT_EQ(e.history.undoSteps(), c.steps);
        if (c.steps == 0) {
            continue;
        }
        while (e.history.undo(e.state)) {
        }
        EXPECT_TRUE(e.is(before)) << "undone, selection included";
        while (e.history.redo(e.state)) {
        }
        EXPECT_TRUE(e.is(after)) << "redone";
    }
}

TEST(UndoSteps, ADragIsOneStepAndNothingIsUndoneWhileItLasts) {
    Saved e;
    e.click({MoveEntry}, true);
    e.moveTo(150, 165);
    e.message([&] { onLeftButtonDown(e.state); }, true);
    for (int x : {152, 160, 171, 180}) {
        e.moveTo(x, 165, Left);
    }
    EXPECT_EQ(e.history.undo(e.state), false) << "mid-drag";
    e.message([&] { onLeftUp(e.state); });
    EXPECT_EQ(e.history.undoSteps(), 1u);
    EXPECT_EQ(e.state.points[0].x, 25.0f);
    e.history.beginMessage(e.state); // a box of some message is open
    EXPECT_EQ(e.history.undo(e.state), false) << "inside a message";
    e.history.endMessage(e.state, false);
    EXPECT_EQ(e.history.undo(e.state), true);
    EXPECT_EQ(e.state.points[0].x, 10.0f);
}

TEST(UndoSteps, ANewChangeDropsRedoAndTheOldestStepsGoPastTheCapacity) {
    Saved e;
    e.press(vk::Right, 2);
    e.history.undo(e.state);
    EXPECT_EQ(e.history.redoSteps(), 1u);
    e.press(vk::Left);
    EXPECT_EQ(std::tuple(e.history.undoSteps(), e.history.redoSteps()), std::tuple(2u, 0u));
    e.press(vk::Right, UndoHistory::Capacity);
    EXPECT_EQ(e.history.undoSteps(), UndoHistory::Capacity);
}

TEST(UnsavedPoints, TheTitleNamesTheFileAndMarksChangesUntilUndoneToTheSavedTable) {
    QTemporaryDir dir;
    Saved e;
    EXPECT_EQ(editorTitle(e.state), "POINT EDITOR");
    e.press(vk::Right);
    EXPECT_EQ(editorTitle(e.state), "POINT EDITOR *");
    e.platform.dialogAnswers = {fileIn(dir, "mission.pd1")};
    runFileCommand(e.state, FileCommand::SaveToCurrent);
    EXPECT_EQ(editorTitle(e.state), "POINT EDITOR - mission.pd1");
    e.press(vk::Right);
    EXPECT_EQ(editorTitle(e.state), "POINT EDITOR - mission.pd1 *");
    e.history.undo(e.state);
    EXPECT_EQ(editorTitle(e.state), "POINT EDITOR - mission.pd1");
    e.history.undo(e.state);
    EXPECT_EQ(editorTitle(e.state), "POINT EDITOR - mission.pd1 *") << "older than the save";
}

TEST(UnsavedPoints, TheQuestionSavesDiscardsOrCancelsAndAFailedSaveKeepsThePoints) {
    QTemporaryDir dir;
    const std::string named = fileIn(dir, "mission.pd1");
    const std::string unwritable = fileIn(dir, "no/such/folder.pd1");
    const struct {
        const char* name;
        std::string file; // the current points file
        BoxAnswer answer;
        std::optional<std::string> dialog; // the save dialog's answer, when it opens
        bool goOn;
        bool unsavedAfter;
        int dialogs;
    } cases[] = {
        {"Save to the current file", named, BoxAnswer::Save, std::nullopt, true, false, 0},
        {"Save, dialog cancelled", "", BoxAnswer::Save, std::nullopt, false, true, 1},
        {"Save fails", unwritable, BoxAnswer::Save, std::nullopt, false, true, 0},
        {"Discard", named, BoxAnswer::Discard, std::nullopt, true, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(QString::fromStdString(named));
        Saved e;
        e.state.pointFilePath = c.file;
        e.press(vk::Right);
        e.platform.boxAnswers = {c.answer};
        e.platform.dialogAnswers = {c.dialog};
        EXPECT_EQ(settleUnsavedPoints(e.state), c.goOn);
        EXPECT_EQ(hasUnsavedPoints(e.state), c.unsavedAfter);
        EXPECT_EQ(e.platform.dialogs.size(), std::size_t(c.dialogs));
        EXPECT_EQ(e.state.pointUsed[0], 2) << "the points stay";
        ASSERT_FALSE(e.platform.boxes.empty());
        EXPECT_EQ(e.platform.boxes[0].buttons, BoxButtons::SaveDiscardCancel);
    }
    // The question names the file, in the chosen language; nothing unsaved asks nothing.
    Saved e;
    e.state.pointFilePath = named;
    EXPECT_EQ(settleUnsavedPoints(e.state), true);
    e.press(vk::Right);
    const std::tuple<const char*, int, const char*> texts[] = {
        {"", 1, "Save the changes to the new points?"},
        {"", 0, "新しいポイント への変更を保存しますか？"},
        {"/m/mission.pd1", 1, "Save the changes to mission.pd1?"},
        {"/m/mission.pd1", 0, "mission.pd1 への変更を保存しますか？"},
    };
    for (auto [file, english, text] : texts) {
        e.state.pointFilePath = file, e.state.english = english;
        e.platform.boxAnswers = {BoxAnswer::Cancel};
        settleUnsavedPoints(e.state);
        EXPECT_EQ(e.platform.boxes.back().text, text);
    }
}

TEST(UnsavedPoints, LoadPointAsksFirstAndOnlyAnAnsweredQuestionOpensTheDialog) {
    QTemporaryDir dir;
    Saved saved;
    saved.state.pointUsed[0] = 0;
    ASSERT_TRUE(savePointFile(saved.state, fileIn(dir, "other.pd1")));
    // The answer, the dialogs' answers, then whether slot 0 is still in use.
    const std::string mine = fileIn(dir, "mine.pd1"), other = fileIn(dir, "other.pd1");
    const std::tuple<BoxAnswer, std::vector<std::string>, int> cases[] = {
        {BoxAnswer::Cancel, {}, 2},
        {BoxAnswer::Discard, {other}, 1},
        {BoxAnswer::Save, {mine, other}, 1}};
    for (const auto& [answer, dialogs, slot0] : cases) {
        SCOPED_TRACE(int(answer));
        Saved e;
        e.press(vk::Right);
        e.platform.boxAnswers = {answer};
        e.platform.dialogAnswers.assign(dialogs.begin(), dialogs.end());
        std::vector<int> modes;
        e.platform.whileModal = [&] { modes.push_back(e.state.menuMode); };
        e.click({LoadPointEntry}, true);
        EXPECT_EQ(e.platform.dialogs.size(), dialogs.size());
        EXPECT_EQ(e.state.pointUsed[0], slot0);
        EXPECT_EQ(QFile::exists(QString::fromStdString(mine)), answer == BoxAnswer::Save);
        EXPECT_EQ(modes.front(), 8) << "LOAD POINT is highlighted";
    }
}

} // namespace
} // namespace tavo::testing
