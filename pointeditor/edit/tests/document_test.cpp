// Undo steps, the unsaved-changes question and the file commands, driven as the window's message
// path drives them: every message between beginMessage and endMessage.

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <utime.h>
#include <vector>

#include <gtest/gtest.h>

#include "common/files/file_read.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_load.h"
#include "pointeditor/data/texture.h"
#include "pointeditor/edit/document.h"
#include "pointeditor/edit/tests/editor_driver.h"
#include "pointeditor/edit/virtual_keys.h"
#include "tests/support/as_nobody.h"
#include "tests/support/guarded_run.h"
#include "tests/support/menu_marks.h"
#include "tests/support/scratch_directory.h"

namespace tavo::testing {
namespace {

// Menu entries' hit points.
constexpr std::pair<int, int> NewPointEntry = testing::menuMark(MenuNewPoint),
                              LoadPointEntry = testing::menuMark(MenuLoadPoint);
constexpr std::pair<int, int> TopPaneSpot{170, 155}; // world (10, 0, 5) at the start-up view

// An editor whose slot 0 is selected and linked by id to slot 1, slot 1 in use, both as saved;
// the current parameters differ from both.
struct Saved : Editor {
    Saved() {
        put({{0, 2, 10, 0, 10, 2, 0, 5, 4}, {1, 1, 30, 0, 10, 2, 0, 0, 5}});
        pts[0].r = 0.5f;
        state.currentParams = {1, 2, 3, 9};
        state.savedPoints = state.pointTable;
    }
    bool is(const PointTable& table) const { return sameTable(state.pointTable, table); }
};

// A fresh directory for the files a test writes and reads.
class DocumentTest : public ::testing::Test {
protected:
    ScratchDirectory dir;
};

// A file dialog, a click held and released, a key: each changing command is one step, and undo
// and redo take the table back bit for bit, selection included; a selection alone is none. A new
// change drops what could be redone, and the oldest steps go past the capacity.
TEST_F(DocumentTest, UndoStepsEachChangingCommandIsOneStepThatUndoAndRedoTakeBitForBit) {
    Saved e;
    e.state.pointTable.pointUsed[0] = SlotFree; // the other file holds slot 1 alone
    ASSERT_TRUE(savePointFile(e.state, dir.at("other.pd1")));
    e.state.pointTable.pointUsed[0] = SlotSelected;
    e.moveTo(TopPaneSpot.first, TopPaneSpot.second);
    e.press(vk::numpad(0));
    EXPECT_EQ(std::pair(e.history().undoSteps(), editorTitle(e.state)),
              std::pair(std::size_t{0}, std::string("POINT EDITOR")))
        << "selection alone";
    std::vector<PointTable> tables{e.state.pointTable};
    e.platform.dialogAnswers = {dir.at("other.pd1")};
    const std::function<void()> commands[] = {
        [&] { e.click({LoadPointEntry}, true); },
        [&] {
            e.click({NewPointEntry, TopPaneSpot}, true);
            e.press(vk::numpad(0)); // selects the new point, for the key to turn
        },
        [&] { e.press(vk::Right); }};
    for (const auto& command : commands) {
        command();
        tables.push_back(e.state.pointTable);
        EXPECT_EQ(e.history().undoSteps(), tables.size() - 1);
    }
    // The title of each table: it names the loaded file and marks changes until they are undone
    // to the table as loaded; undone further, older than the load, it marks them again.
    const std::string loaded = "POINT EDITOR - other.pd1", changed = loaded + " *";
    const std::string titles[] = {changed, loaded, changed, changed};
    EXPECT_EQ(editorTitle(e.state), titles[3]);
    for (std::size_t step = tables.size() - 1; step > 0; --step) {
        EXPECT_EQ(e.edits.undo(false), true);
        EXPECT_TRUE(e.is(tables[step - 1])) << "undone to " << step - 1;
        EXPECT_EQ(editorTitle(e.state), titles[step - 1]);
    }
    for (std::size_t step = 1; step < tables.size(); ++step) {
        EXPECT_EQ(e.edits.redo(false), true);
        EXPECT_TRUE(e.is(tables[step])) << "redone to " << step;
    }
    e.edits.undo(false);
    e.press(vk::Left);
    EXPECT_EQ(std::tuple(e.history().undoSteps(), e.history().redoSteps()), std::tuple(3u, 0u));
    e.press(vk::Right, UndoHistory::Capacity);
    EXPECT_EQ(e.history().undoSteps(), UndoHistory::Capacity);
}

// The question names the file, in the chosen language; a save dialog, where one opens, is
// cancelled.
TEST_F(DocumentTest, UnsavedPointsTheQuestionSavesDiscardsOrCancelsAndAFailedSaveKeepsThePoints) {
    const std::string named = dir.at("mission.pd1");
    const std::string unwritable = dir.at("no/such/folder.pd1");
    // The current points file, English, the answer, whether to go on, whether the points are
    // still unsaved, the dialogs opened, the question.
    const std::tuple<std::string, int, BoxAnswer, bool, bool, int, const char*> cases[] = {
        {named, 1, BoxAnswer::Save, true, false, 0, "Save the changes to mission.pd1?"},
        {"", 1, BoxAnswer::Save, false, true, 1, "Save the changes to the new points?"},
        {unwritable, 0, BoxAnswer::Save, false, true, 0, "folder.pd1 への変更を保存しますか？"},
        {"", 0, BoxAnswer::Cancel, false, true, 0, "新しいポイント への変更を保存しますか？"},
    };
    for (const auto& [file, english, answer, goOn, unsavedAfter, dialogs, question] : cases) {
        SCOPED_TRACE(std::to_string(int(answer)) + " " + question);
        std::filesystem::remove(named);
        Saved e;
        e.state.pointFilePath = file, e.state.english = english;
        EXPECT_EQ(settleUnsavedPoints(e.state), true) << "nothing unsaved asks nothing";
        e.press(vk::Right);
        e.platform.boxAnswers = {answer};
        const bool wentOn = settleUnsavedPoints(e.state); // the points stay in every case
        EXPECT_EQ(std::tuple(wentOn, hasUnsavedPoints(e.state), e.platform.dialogs.size(),
                             e.state.pointTable.pointUsed[0]),
                  std::tuple(goOn, unsavedAfter, std::size_t(dialogs), 2));
        ASSERT_FALSE(e.platform.boxes.empty()); // a failed save adds its error box
        EXPECT_EQ(std::tuple(e.platform.boxes[0].text, e.platform.boxes[0].buttons),
                  std::tuple(std::string(question), BoxButtons::SaveDiscardCancel));
    }
}

// What keeps the points: no one to ask, a table with no point to save, a file that cannot be read.
TEST_F(DocumentTest, NothingToAskNothingToSaveOrNothingReadDoesNotGoOn) {
    Saved e;
    e.state.pointTable.pointUsed.fill(SlotFree); // every point deleted: unsaved, nothing to save
    e.platform.boxAnswers = {BoxAnswer::Save};
    EXPECT_EQ(settleUnsavedPoints(e.state), false) << "Save with no point: NO POINT, no file";
    EXPECT_EQ(e.platform.boxes.back().caption, "SAVE") << "the NO POINT box";
    e.state.pointFilePath = dir.at("named.pd1");
    e.platform.boxAnswers = {BoxAnswer::Save};
    EXPECT_EQ(settleUnsavedPoints(e.state), false) << "Save to the named file with no point";
    e.state.pointTable = e.state.savedPoints;
    e.state.pointTable.pointUsed[2] = SlotUsed;
    e.state.pointFileStamp = takeFileStamp(dir.write("named.pd1", "theirs"));
    dir.write("named.pd1", "changed by another program");
    e.platform.boxAnswers = {BoxAnswer::Save, BoxAnswer::No};
    EXPECT_EQ(settleUnsavedPoints(e.state), false) << "Save, then No to overwriting their change";
    EXPECT_EQ(openPointFile(e.state, dir.at("none.pd1")), false) << "a file that is not there";
    e.state.platform = nullptr;
    EXPECT_EQ(settleUnsavedPoints(e.state), false) << "no one to ask";
    EXPECT_EQ(reloadPointFile(e.state), false) << "no one to ask about a reload";
}

// LOAD POINT asks first; only an answered question opens its dialog, after the save's. Every
// answer of the question itself is tried above.
TEST_F(DocumentTest, UnsavedPointsLoadPointAsksFirstAndOnlyAnAnsweredQuestionOpensTheDialog) {
    Saved e;
    e.press(vk::Right);
    std::vector<int> modes;
    e.platform.whileModal = [&] { modes.push_back(e.state.menuMode); };
    e.platform.boxAnswers = {BoxAnswer::Cancel, BoxAnswer::Save};
    e.platform.dialogAnswers = {dir.at("mine.pd1"), dir.at("mine.pd1")};
    e.click({LoadPointEntry}, true);
    EXPECT_EQ(e.platform.dialogs.size(), 0u) << "cancelled";
    e.click({LoadPointEntry}, true);
    // Saved, then loaded: the saved points come back unselected; LOAD POINT stays highlighted.
    EXPECT_EQ(std::tuple(e.platform.dialogs.size(), e.state.pointTable.pointUsed[0], modes),
              std::tuple(2u, SlotUsed, std::vector<int>(4, MenuLoadPoint)));
}

std::string fileText(const std::string& path) {
    const FileResult<std::vector<uint8_t>> bytes = readWholeFile(path, DataFileLimit);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// Ctrl+S over the file the points came from, after another program changed it: a question whose
// default is No, and No writes nothing and keeps the points unsaved. A file only touched, or gone,
// is simply written; so is another file chosen in SAVE POINT's dialog, which asks on its own. A
// file with a second name (a hard link) keeps it: the other name shows the new points too.
TEST_F(DocumentTest, SaveOverAFileChangedOnDiskAsksFirstAndNoKeepsTheirFile) {
    namespace fs = std::filesystem;
    using enum FileCommand;
    const auto changed = [](const std::string& f) { std::ofstream(f) << "another program's"; };
    const char* asked = "mission.pd1 was changed on disk since it was loaded. Overwrite it?";
    const struct {
        const char* name;
        int english;
        void (*meanwhile)(const std::string& file);
        FileCommand command;
        std::optional<BoxAnswer> answer; // nothing: the box's default
        const char* question;            // "": none
        bool saved;
    } rows[] = {
        {"ChangedAnsweredNo", 1, changed, SaveToCurrent, BoxAnswer::No, asked, false},
        {"ChangedAnsweredYes", 0, changed, SaveToCurrent, BoxAnswer::Yes,
         "mission.pd1 は読み込んだ後にディスク上で変更されました。上書きしますか？", true},
        {"ChangedAndChosenAgainInSavePoint", 1, changed, SavePoint, BoxAnswer::No, asked, false},
        {"TouchedOnly", 1, [](const std::string& f) { ::utime(f.c_str(), nullptr); }, SaveToCurrent,
         BoxAnswer::No, "", true},
        {"Gone", 1, [](const std::string& f) { fs::remove(f); }, SaveToCurrent, BoxAnswer::No, "",
         true},
        {"HardLinked", 1, [](const std::string& f) { fs::create_hard_link(f, f + ".link"); },
         SaveToCurrent, BoxAnswer::No, "", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Saved e;
        e.state.english = row.english;
        const std::string file = dir.at("mission.pd1");
        ASSERT_TRUE(savePointFile(e.state, file));
        // Back-dated, so that a change within the same clock tick still shows another time.
        const struct timespec earlier[2] = {{0, UTIME_OMIT}, {1000000, 0}};
        ::utimensat(AT_FDCWD, file.c_str(), earlier, 0);
        ASSERT_TRUE(openPointFile(e.state, file));
        e.state.pointTable.pointUsed[0] = SlotSelected; // for the key to move
        e.press(vk::Right);
        row.meanwhile(file);
        const std::string before = fileText(file);
        if (row.answer) {
            e.platform.boxAnswers = {*row.answer};
        }
        e.platform.dialogAnswers = {file};
        runFileCommand(e.state, row.command);
        std::vector<std::string> questions;
        for (const RecordedBox& box : e.platform.boxes) {
            EXPECT_EQ(std::tuple(box.caption, box.buttons),
                      std::tuple(std::string("POINT EDITOR"), BoxButtons::YesNoDefaultNo));
            questions.push_back(box.text);
        }
        EXPECT_EQ(questions, *row.question ? std::vector<std::string>{row.question}
                                           : std::vector<std::string>{});
        EXPECT_EQ(hasUnsavedPoints(e.state), !row.saved);
        ASSERT_TRUE(savePointFile(e.state, dir.at("ours.pd1")));
        EXPECT_EQ(fileText(file), row.saved ? fileText(dir.at("ours.pd1")) : before);
        EXPECT_EQ(fs::hard_link_count(file), fs::exists(file + ".link") ? 2u : 1u);
    }
}

// A writable file in a folder the user may not write: the box names the folder as the cause, in
// the editor's language, and the file stays as it was. Run as nobody, since root may write there.
TEST_F(DocumentTest, SaveIntoAFolderTheUserMayNotWriteNamesTheFolder) {
    namespace fs = std::filesystem;
    fs::permissions(dir.path(), fs::perms::all);
    const std::string folder = dir.at("locked");
    fs::create_directory(folder);
    const std::string file = dir.write("locked/a.pd1", "old points");
    fs::permissions(file, fs::perms(0666));
    fs::permissions(folder, fs::perms(0555));
    const GuardedOutcome child = runGuarded([&] {
        if (!becomeNobody()) {
            return 99;
        }
        Saved e;
        e.state.english = 0; // the English wording is the point tool's test
        e.state.pointFilePath = file;
        runFileCommand(e.state, FileCommand::SaveToCurrent);
        for (const RecordedBox& shown : e.platform.boxes) {
            std::cout << shown.text << " | " << shown.caption << "\n";
        }
        return 0;
    });
    if (child.status == 99) {
        GTEST_SKIP() << "needs root, to become nobody";
    }
    EXPECT_EQ(child.out,
              "a.pd1 を保存できません: フォルダ " + folder + " に書き込めません | error\n");
    EXPECT_EQ(fileText(file), "old points");
}

// Gives every file it is asked for as damaged.
struct RefusingLoader : TextureLoader {
    std::vector<LoadedTexture> loadTextures(std::span<const std::string> files) override {
        std::vector<LoadedTexture> loaded(files.size());
        for (LoadedTexture& texture : loaded) {
            texture.problem = TextureProblem::Damaged;
        }
        return loaded;
    }
};

TEST_F(DocumentTest, LoadBlockListsTheTexturesThatDidNotLoadInOneBoxInTheUsersLanguage) {
    Editor e;
    std::string names(TextureCount * TextureNameSize + 2, '\0');
    names.replace(0, 12, "missing\x7f.png"); // DEL is written out, as any control byte
    names.replace(2 * TextureNameSize, 8, "here.png");
    dir.write("map.bd1", names);
    dir.write("here.png", "x");
    RefusingLoader loader;
    e.state.textureLoader = &loader;
    const std::tuple<int, const char*, const char*> cases[] = {
        {1, "LOAD BLOCK",
         "These textures did not load:\ntexture 0 missing\\x7F.png: not found\n"
         "texture 2 here.png: damaged"},
        {0, "ブロック読込",
         "読み込めなかったテクスチャ:\nテクスチャ0 missing\\x7F.png: ファイルがありません\n"
         "テクスチャ2 here.png: ファイルが壊れています"},
    };
    for (const auto& [english, caption, text] : cases) {
        e.state.english = english;
        e.platform.dialogAnswers = {dir.at("map.bd1")};
        e.click({testing::menuMark(MenuLoadBlock)});
        EXPECT_EQ(e.boxesShown(), std::string(text) + " / " + caption + "|");
    }
}

} // namespace
} // namespace tavo::testing
