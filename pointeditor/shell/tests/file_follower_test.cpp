// The running editor follows its files: a map, a texture or a points file written by another
// program is loaded again once the writes settle, as one message of the edit session.

#include <gtest/gtest.h>

#include <QtCore/QElapsedTimer>
#include <QtCore/QTemporaryDir>
#include <QtCore/QThread>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "pointeditor/data/point_file.h"
#include "pointeditor/data/texture.h"
#include "pointeditor/display/draw_frame.h"
#include "pointeditor/edit/document.h"
#include "pointeditor/shell/editor_window.h"
#include "pointeditor/shell/point_session.h"
#include "qt_events.h"
#include "samples/sample_mission.h"
#include "tests/support/fake_platform.h"
#include "tests/support/scene_builders.h"
#include "tests/support/scratch_directory.h"

namespace tavo {
namespace {

using testing::FakePlatform;

// Counts its calls (one per map load); a file whose bytes begin with "bad" is damaged.
struct CountingLoader : TextureLoader {
    int calls = 0;
    std::vector<LoadedTexture> loadTextures(std::span<const std::string> files) override {
        ++calls;
        std::vector<LoadedTexture> loaded;
        for (const std::string& file : files) {
            std::ifstream in(file, std::ios::binary);
            std::string head(3, '\0');
            in.read(head.data(), 3);
            LoadedTexture texture;
            if (head == "bad") {
                texture.problem = TextureProblem::Damaged;
            } else {
                texture.texture = std::make_unique<Texture>();
            }
            loaded.push_back(std::move(texture));
        }
        return loaded;
    }
};

// A map of `count` boxes in a row, naming `textures`.
std::vector<uint8_t> rowMap(int count, const std::vector<std::string>& textures = {}) {
    std::vector<BlockRecord> blocks;
    for (int i = 0; i < count; ++i) {
        blocks.push_back(testing::box(i * 10.0f, 0, 0, i * 10.0f + 5, 5, 5));
    }
    return sample::encodeBlockFile(textures, blocks);
}

std::vector<uint8_t> pointsFile(int count) {
    std::vector<PointRecord> points;
    for (int i = 0; i < count; ++i) {
        points.push_back(testing::point(i * 3.0f, 0, 0, 1));
    }
    return encodePointFile(points);
}

// Processes events until `done` or the time is up.
bool waitFor(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

// Lets the events of `ms` milliseconds run: long enough for a settled change to be looked at.
void settle(int ms = 900) {
    waitFor([] { return false; }, ms);
}

class Following : public testing::QtTest {
protected:
    Following() {
        state->platform = &platform;
        state->textureLoader = &loader;
        state->running = 1;
    }
    EditorHandlers handlers() {
        return editorHandlers([this](const EditorState& s) { drawFrame(s, platform, nullptr); });
    }
    int blocks() const {
        return static_cast<int>(std::count_if(state->blocks.begin(), state->blocks.end(),
                                              [](const BlockRecord& b) { return b.inUse != 0; }));
    }
    void openMap(const std::string& path) {
        edits.run([&path](EditorState& s) { openBlockFile(s, path); }, false);
    }
    void openPoints(const std::string& path) {
        edits.run([&path](EditorState& s) { openPointFile(s, path); }, false);
    }
    // Written as another program writing in place would, or as one that replaces it.
    void writeInPlace(const std::string& name, std::span<const uint8_t> bytes) {
        files.write(name, bytes);
    }
    void writeInPlace(const std::string& name, std::string_view text) { files.write(name, text); }
    void replace(const std::string& name, std::span<const uint8_t> bytes) {
        files.write(".incoming", bytes);
        std::filesystem::rename(files.at(".incoming"), files.at(name));
    }

    testing::ScratchDirectory files;
    QTemporaryDir copies;
    FakePlatform platform;
    CountingLoader loader;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::unique_ptr<Canvas> canvas = std::make_unique<Canvas>();
    EditSession edits{*state, handlers()};
    EditorWindow window{edits, *canvas};
    PointSession session{edits, window, copies.path(), {60'000, 60'000}};
};

TEST_F(Following, TheMapIsLoadedAgainAfterEachWriteOrReplaceKeepingPointsAndCamera) {
    writeInPlace("yard.bd1", rowMap(1));
    openMap(files.at("yard.bd1"));
    state->pointTable.points[4] = testing::point(7, 8, 9, 2);
    state->pointTable.pointUsed[4] = SlotUsed;
    state->cameraX = 12.5f;
    state->zoom = 3.0f;
    // Each row follows the one before on the same map: a replaced file is followed again.
    const struct {
        const char* name;
        bool renamed;
        int count;
    } cases[] = {{"in place", false, 2},
                 {"renamed over", true, 3},
                 {"in place after a rename", false, 4},
                 {"renamed again", true, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.renamed ? replace("yard.bd1", rowMap(c.count))
                  : writeInPlace("yard.bd1", rowMap(c.count));
        EXPECT_EQ(waitFor([&] { return blocks() == c.count; }), true)
            << "blocks after the change: " << blocks();
    }
    EXPECT_EQ(state->pointTable.pointUsed[4], SlotUsed) << "the point stays";
    EXPECT_EQ(state->pointTable.points[4].x, 7.0f) << "the point stays where it was";
    EXPECT_EQ(state->cameraX, 12.5f) << "the camera stays";
    EXPECT_EQ(state->zoom, 3.0f) << "the 2D views keep their zoom";
    EXPECT_EQ(session.history().undoSteps(), 0u) << "a map load is no undo step";
    EXPECT_EQ(platform.boxes.size(), 0u) << "nothing to tell";
}

TEST_F(Following, ABurstOfWritesIsLoadedOnce) {
    writeInPlace("yard.bd1", rowMap(1, {"wall.png"}));
    writeInPlace("wall.png", std::string_view("png"));
    openMap(files.at("yard.bd1"));
    const int before = loader.calls;
    for (int i = 2; i <= 11; ++i) {
        writeInPlace("yard.bd1", rowMap(i, {"wall.png"}));
        settle(20);
    }
    EXPECT_EQ(waitFor([&] { return blocks() == 11; }), true) << "blocks: " << blocks();
    settle();
    EXPECT_EQ(loader.calls - before, 1) << "loads after ten writes";
}

TEST_F(Following, TexturesAreFollowedAndOnlyWhatNewlyFailsIsTold) {
    writeInPlace("yard.bd1", rowMap(1, {"wall.png", "floor.png"}));
    writeInPlace("wall.png", std::string_view("png"));
    openMap(files.at("yard.bd1"));
    ASSERT_EQ(platform.boxes.size(), 1u) << "the missing floor told at the load";
    EXPECT_EQ(platform.boxes[0].text,
              "These textures did not load:\ntexture 1 floor.png: not found");
    const int before = loader.calls;

    writeInPlace("wall.png", std::string_view("bad"));
    ASSERT_EQ(waitFor([&] { return loader.calls > before; }), true) << "the wall was followed";
    ASSERT_EQ(platform.boxes.size(), 2u) << "boxes after the wall went bad";
    EXPECT_EQ(platform.boxes[1].text, "These textures did not load:\ntexture 0 wall.png: damaged")
        << "the floor, told before, is not told again";

    writeInPlace("floor.png", std::string_view("png"));
    EXPECT_EQ(waitFor([&] { return loader.calls > before + 1; }), true)
        << "a texture that appears is followed too";
    settle();
    EXPECT_EQ(platform.boxes.size(), 2u) << "the damaged wall, told already, is not told again";
}

TEST_F(Following, UnchangedPointsAreLoadedAgainAsOneUndoStep) {
    writeInPlace("plan.pd1", pointsFile(1));
    openPoints(files.at("plan.pd1"));
    const std::size_t steps = session.history().undoSteps();
    replace("plan.pd1", pointsFile(3));
    EXPECT_EQ(waitFor([&] { return countUsedPoints(state->pointTable) == 3; }), true)
        << "points: " << countUsedPoints(state->pointTable);
    EXPECT_EQ(session.history().undoSteps(), steps + 1) << "the reload is one undo step";
    EXPECT_EQ(platform.boxes.size(), 0u) << "nothing unsaved: no question";
    EXPECT_EQ(window.windowTitle(), "POINT EDITOR - plan.pd1") << "saved as the file is";
}

TEST_F(Following, WithUnsavedChangesTheAuthorIsAskedAndEachAnswerHolds) {
    writeInPlace("plan.pd1", pointsFile(1));
    openPoints(files.at("plan.pd1"));
    // The answer, then the points there after it.
    const struct {
        const char* name;
        BoxAnswer answer;
        int written;
        int after;
    } cases[] = {{"keep mine", BoxAnswer::No, 4, 2}, {"reload", BoxAnswer::Yes, 5, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        edits.run(
            [](EditorState& s) {
                s.pointTable.points[1] = testing::point(50, 0, 0, 1);
                s.pointTable.pointUsed[1] = SlotUsed;
            },
            false);
        ASSERT_EQ(hasUnsavedPoints(*state), true);
        platform.boxes.clear();
        platform.boxAnswers = {c.answer};
        writeInPlace("plan.pd1", pointsFile(c.written));
        ASSERT_EQ(waitFor([&] { return !platform.boxes.empty(); }), true) << "a question";
        EXPECT_EQ(platform.boxes[0].text,
                  "plan.pd1 was changed on disk. Reload it and lose the unsaved changes?");
        EXPECT_EQ(platform.boxes[0].buttons, BoxButtons::YesNoDefaultNo) << "No is the default";
        EXPECT_EQ(countUsedPoints(state->pointTable), c.after) << "points after the answer";
    }
}

TEST_F(Following, AKeptVersionIsNotAskedAboutAgainButTheNextChangeIs) {
    writeInPlace("plan.pd1", pointsFile(1));
    openPoints(files.at("plan.pd1"));
    edits.run([](EditorState& s) { s.pointTable.pointUsed[0] = SlotFree; }, false);
    platform.boxAnswers = {BoxAnswer::No, BoxAnswer::No};
    writeInPlace("plan.pd1", pointsFile(2));
    ASSERT_EQ(waitFor([&] { return platform.boxes.size() == 1; }), true);
    writeInPlace("other.bin", std::string_view("x")); // a change beside it
    settle();
    EXPECT_EQ(platform.boxes.size(), 1u) << "the same version is not asked about twice";
    writeInPlace("plan.pd1", pointsFile(3));
    EXPECT_EQ(waitFor([&] { return platform.boxes.size() == 2; }), true)
        << "questions after a second change: " << platform.boxes.size();
}

TEST_F(Following, TheQuestionIsInJapaneseInJapanese) {
    state->english = 0;
    writeInPlace("plan.pd1", pointsFile(1));
    openPoints(files.at("plan.pd1"));
    edits.run([](EditorState& s) { s.pointTable.pointUsed[0] = SlotFree; }, false);
    writeInPlace("plan.pd1", pointsFile(2));
    ASSERT_EQ(waitFor([&] { return !platform.boxes.empty(); }), true);
    EXPECT_EQ(platform.boxes[0].text, "plan.pd1 がディスク上で変更されました。読み込み直して、"
                                      "保存していない変更を破棄しますか？");
}

TEST_F(Following, OurOwnSaveIsNoChange) {
    writeInPlace("plan.pd1", pointsFile(1));
    openPoints(files.at("plan.pd1"));
    edits.run([](EditorState& s) { s.pointTable.points[0].x = 40; }, false);
    edits.run([](EditorState& s) { runFileCommand(s, FileCommand::SaveToCurrent); }, false);
    ASSERT_EQ(hasUnsavedPoints(*state), false) << "saved";
    // Unsaved again before the save is looked at: a reload would have to ask.
    edits.run([](EditorState& s) { s.pointTable.points[0].x = 41; }, false);
    settle();
    EXPECT_EQ(platform.boxes.size(), 0u) << "no question after our own save";
}

TEST_F(Following, NothingIsLoadedWhileADragOrABoxIsUnderWay) {
    writeInPlace("plan.pd1", pointsFile(1));
    openPoints(files.at("plan.pd1"));
    state->boxView = TopPane; // a selection box begun
    writeInPlace("plan.pd1", pointsFile(2));
    settle();
    EXPECT_EQ(countUsedPoints(state->pointTable), 1) << "points while the box is open";
    edits.run([](EditorState& s) { s.boxView = NoPane; }, false);
    EXPECT_EQ(waitFor([&] { return countUsedPoints(state->pointTable) == 2; }), true)
        << "points once the box ended: " << countUsedPoints(state->pointTable);
}

} // namespace
} // namespace tavo
