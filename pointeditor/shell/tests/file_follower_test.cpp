// The running editor follows its files: a map, a texture or a points file written by another
// program is loaded again once the writes settle, as one message of the edit session.

#include <gtest/gtest.h>

#include <QtCore/QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <utility>
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

using testing::waitFor;

// Counts its calls, one per map load; a file whose bytes begin with "bad" is damaged. `during`
// runs inside the next call.
struct CountingLoader : TextureLoader {
    int calls = 0;
    std::function<void()> during;
    std::vector<LoadedTexture> loadTextures(std::span<const std::string> files) override {
        ++calls;
        if (during) {
            std::exchange(during, nullptr)();
        }
        std::vector<LoadedTexture> loaded(files.size());
        for (std::size_t i = 0; i < files.size(); ++i) {
            std::string head(3, '\0');
            std::ifstream(files[i], std::ios::binary).read(head.data(), 3);
            head == "bad" ? void(loaded[i].problem = TextureProblem::Damaged)
                          : void(loaded[i].texture = std::make_unique<Texture>());
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
    return encodePointFile(std::vector<PointRecord>(count, testing::point(1, 0, 0, 1)));
}

// Lets the events of a while run: long enough for a settled change to be looked at.
void settle() {
    waitFor([] { return false; }, 900);
}

class Following : public testing::QtTest {
protected:
    Following() {
        state->platform = &platform;
        state->textureLoader = &loader;
    }
    int blocks() const {
        return static_cast<int>(std::count_if(state->blocks.begin(), state->blocks.end(),
                                              [](const BlockRecord& b) { return b.inUse != 0; }));
    }
    // Runs `command` as a message of the editor.
    void run(const std::function<void(EditorState&)>& command) { edits.run(command, false); }
    void open(const std::string& name, std::span<const uint8_t> bytes) {
        const std::string path = files.write(name, bytes);
        run([&](EditorState& s) {
            name.ends_with(".bd1") ? openBlockFile(s, path) : void(openPointFile(s, path));
        });
    }
    // As a program that replaces the file does: written beside it, then renamed over it.
    void replace(const std::string& name, std::span<const uint8_t> bytes) {
        files.write(".incoming", bytes);
        std::filesystem::rename(files.at(".incoming"), files.at(name));
    }

    testing::ScratchDirectory files;
    QTemporaryDir copies;
    testing::FakePlatform platform;
    CountingLoader loader;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::unique_ptr<Canvas> canvas = std::make_unique<Canvas>();
    EditSession edits{
        *state, editorHandlers([this](const EditorState& s) { drawFrame(s, platform, nullptr); })};
    EditorWindow window{edits, *canvas};
    PointSession session{edits, window, copies.path(), {60'000, 60'000}};
};

TEST_F(Following, TheMapIsLoadedAgainAfterEachWriteOrReplaceKeepingPointsAndCamera) {
    open("yard.bd1", rowMap(1));
    state->pointTable.points[4] = testing::point(7, 8, 9, 2);
    state->pointTable.pointUsed[4] = SlotUsed;
    state->cameraX = 12.5f;
    state->zoom = 3.0f;
    // Each row follows the one before on the same map: a replaced file is followed again.
    // name, renamed over, blocks
    const std::tuple<const char*, bool, int> cases[] = {{"in place", false, 2},
                                                        {"renamed over", true, 3},
                                                        {"in place after a rename", false, 4},
                                                        {"renamed again", true, 5}};
    for (const auto& [name, renamed, count] : cases) {
        renamed ? replace("yard.bd1", rowMap(count)) : void(files.write("yard.bd1", rowMap(count)));
        EXPECT_EQ(waitFor([&, count = count] { return blocks() == count; }), true)
            << name << ": blocks " << blocks();
    }
    EXPECT_EQ(state->pointTable.points[4].x, 7.0f) << "the point stays where it was";
    EXPECT_EQ(state->cameraX, 12.5f) << "the camera stays";
    EXPECT_EQ(state->zoom, 3.0f) << "the 2D views keep their zoom";
    EXPECT_EQ(session.history().undoSteps(), 0u) << "a map load is no undo step";
}

// Ten writes in a row are loaded once; a write while the map loads is loaded after it.
TEST_F(Following, ABurstOfWritesIsLoadedOnceAndAWriteDuringTheLoadToo) {
    files.write("wall.png", "png");
    open("yard.bd1", rowMap(1, {"wall.png"}));
    const int before = loader.calls;
    for (int i = 2; i <= 11; ++i) {
        files.write("yard.bd1", rowMap(i, {"wall.png"}));
        waitFor([] { return false; }, 20);
    }
    EXPECT_EQ(waitFor([&] { return blocks() == 11; }), true) << "blocks: " << blocks();
    settle();
    EXPECT_EQ(loader.calls - before, 1) << "loads after ten writes";
    loader.during = [this] { files.write("yard.bd1", rowMap(7, {"wall.png"})); };
    files.write("yard.bd1", rowMap(2, {"wall.png"}));
    EXPECT_EQ(waitFor([&] { return blocks() == 7; }), true) << "blocks: " << blocks();
}

TEST_F(Following, TexturesAreFollowedAndOnlyWhatNewlyFailsIsTold) {
    files.write("wall.png", "png");
    open("yard.bd1", rowMap(1, {"wall.png", "floor.png"}));
    ASSERT_EQ(platform.boxes.size(), 1u) << "the missing floor is told at the load";
    files.write("wall.png", "bad");
    ASSERT_EQ(waitFor([&] { return platform.boxes.size() == 2; }), true) << "the wall went bad";
    EXPECT_EQ(platform.boxes[1].text, "These textures did not load:\ntexture 0 wall.png: damaged")
        << "the floor, told before, is not told again";
    const int before = loader.calls;
    files.write("floor.png", "png");
    EXPECT_EQ(waitFor([&] { return loader.calls > before; }), true) << "a texture appeared";
    settle();
    EXPECT_EQ(platform.boxes.size(), 2u) << "the damaged wall is not told again";
}

TEST_F(Following, ChangedPointsAreLoadedAgainOrAskedAboutWhenUnsaved) {
    open("plan.pd1", pointsFile(1));
    // Each row follows the one before on the same file; unsaved: a point is added first.
    // name, unsaved, English, the answer, points written, points after, the question
    const std::tuple<const char*, bool, int, BoxAnswer, int, int, const char*> cases[] = {
        {"unchanged points", false, 1, BoxAnswer::Ok, 3, 3, ""},
        {"unsaved, kept", true, 1, BoxAnswer::No, 6, 4,
         "plan.pd1 was changed on disk. Reload it and lose the unsaved changes?"},
        {"unsaved, reloaded", true, 0, BoxAnswer::Yes, 5, 5,
         "plan.pd1 "
         "がディスク上で変更されました。読み込み直して、保存していない変更を破棄しますか？"},
    };
    for (const auto& [name, unsaved, english, answer, written, after, question] : cases) {
        SCOPED_TRACE(name);
        state->english = english;
        if (unsaved) {
            run([](EditorState& s) { s.pointTable.pointUsed[3] = SlotUsed; });
        }
        platform.boxes.clear();
        platform.boxAnswers = {answer};
        const std::size_t steps = session.history().undoSteps();
        replace("plan.pd1", pointsFile(written));
        ASSERT_EQ(waitFor([&, written = written] {
                      return !platform.boxes.empty() ||
                             countUsedPoints(state->pointTable) == written;
                  }),
                  true);
        EXPECT_EQ(countUsedPoints(state->pointTable), after) << "points after it";
        EXPECT_EQ(session.history().undoSteps(), steps + (answer == BoxAnswer::No ? 0 : 1));
        files.write("beside.txt", "x"); // the same version of the file is not asked about again
        settle();
        EXPECT_EQ(platform.boxes.size(), unsaved ? 1u : 0u) << "questions";
        EXPECT_EQ(platform.boxes.empty() ? "" : platform.boxes[0].text, question);
    }
}

// Nothing is loaded while a selection box is begun; a file removed, then written anew, is.
TEST_F(Following, PointsWaitForABegunBoxAndAreFollowedThroughARemoval) {
    open("plan.pd1", pointsFile(1));
    state->boxView = TopPane;
    files.write("plan.pd1", pointsFile(2));
    settle();
    EXPECT_EQ(countUsedPoints(state->pointTable), 1) << "points while the box is open";
    run([](EditorState& s) { s.boxView = NoPane; });
    EXPECT_EQ(waitFor([&] { return countUsedPoints(state->pointTable) == 2; }), true)
        << "points once the box ended: " << countUsedPoints(state->pointTable);
    std::filesystem::remove(files.at("plan.pd1"));
    settle(); // looked at while it is gone: nothing to load, and its watch went with it
    files.write("plan.pd1", pointsFile(3));
    EXPECT_EQ(waitFor([&] { return countUsedPoints(state->pointTable) == 3; }), true)
        << "points: " << countUsedPoints(state->pointTable);
}

TEST_F(Following, OurOwnSaveIsNoChange) {
    open("plan.pd1", pointsFile(1));
    run([](EditorState& s) { s.pointTable.points[0].x = 40; });
    run([](EditorState& s) { runFileCommand(s, FileCommand::SaveToCurrent); });
    ASSERT_EQ(hasUnsavedPoints(*state), false) << "saved";
    run([](EditorState& s) { s.pointTable.points[0].x = 41; }); // a reload would have to ask
    settle();
    EXPECT_EQ(platform.boxes.size(), 0u) << "no question after our own save";
}

} // namespace
} // namespace tavo
