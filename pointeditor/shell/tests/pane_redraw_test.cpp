// Retained panes against full redraws: random events through the editor's whole message path
// (moves, drags in every mode and pane, menu and toggle clicks, keys, loads), and after every
// one the canvas of the editor that keeps unchanged panes must equal, pixel for pixel, what
// drawing every pane afresh from the same state gives.

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <memory>
#include <numeric>
#include <optional>
#include <random>
#include <string>

#include "pointeditor/data/block_file.h"
#include "pointeditor/data/pane_layout.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_load.h"
#include "pointeditor/display/draw_frame.h"
#include "pointeditor/edit/message_dispatch.h"
#include "pointeditor/edit/virtual_keys.h"
#include "pointeditor/view/pane_redraw.h"
#include "pointeditor/view/render_panes.h"
#include "pointeditor/view/tests/gl_fixture.h"
#include "samples/sample_mission.h"
#include "tests/support/fake_platform.h"

namespace tavo {
namespace {

constexpr float Nan = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

// A map and points that no editor wrote: corners that are no numbers or huge, texture slots
// out of range, blocks over the whole view, points on top of one another, linking to themselves
// and in circles, every kind byte, ids shared by several points.
void writeHostileMission(const testing::ScratchDirectory& dir) {
    std::vector<BlockRecord> blocks;
    const float corners[] = {0.0f, -5.0f, 30.0f, Nan, Inf, -1e30f, 1e-30f, -0.0f, 140.0f};
    std::mt19937 random(7);
    for (int i = 0; i < MaxBlocks; ++i) {
        BlockRecord block;
        for (int c = 0; c < 8; ++c) {
            block.x[c] = corners[random() % 9] + static_cast<float>(c % 2) * 20.0f;
            block.y[c] = corners[random() % 9] + (c < 4 ? 0.0f : 10.0f);
            block.z[c] = corners[random() % 9] + (c % 4 < 2 ? 0.0f : 20.0f);
        }
        for (int f = 0; f < 6; ++f) {
            block.textureId[f] = static_cast<int32_t>(random() % 14) - 2;
            for (int k = 0; k < 4; ++k) {
                block.u[f][k] = corners[random() % 9];
                block.v[f][k] = static_cast<float>(k);
            }
        }
        block.inUse = 1;
        blocks.push_back(block);
    }
    const std::vector<std::string> names = {"crate.jpg", "FLOOR.PNG", "..\\wall.bmp", "missing.png",
                                            "plate.png"};
    dir.write("hostile.bd1", sample::encodeBlockFile(names, blocks));

    std::vector<PointRecord> points;
    auto byte = [](auto value) { return static_cast<int8_t>(value); };
    for (int i = 0; i < MaxPoints; ++i) {
        // A braced list draws its random numbers left to right: x, y, z, heading, then p1..p4.
        points.push_back({corners[random() % 9], corners[random() % 9], corners[random() % 9],
                          corners[random() % 9],
                          byte(i % 3 == 0 ? 3 + random() % 17 : random() % 256), byte(random() % 8),
                          byte(random() % 8), byte(i % 10 == 0 ? -100 : random() % 8)});
    }
    dir.write("hostile.pd1", encodePointFile(points));
}

class PaneRedraw : public testing::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        std::filesystem::copy(TAVO_SOURCE_DIR "/samples", scratch.path(),
                              std::filesystem::copy_options::recursive);
        writeHostileMission(scratch);
    }
    // Pixels that differ between the frame just drawn and a full redraw. The texts go to the
    // platform: the panes are all that is drawn on the canvas.
    int differences() {
        *drawn = canvas;
        renderPanes(state, frame());
        return std::inner_product(canvas.pixels.begin(), canvas.pixels.end(), drawn->pixels.begin(),
                                  0, std::plus<>(), std::not_equal_to<>());
    }

    // One random event through the message path; says what it was.
    std::string randomEvent(std::mt19937& random) {
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        const int kind = pick(100);
        if (kind < 60) {
            // Mostly short steps from where the pointer is, often along one axis (a turn or
            // pan in one direction); now and then a jump into a pane or outside the window.
            int x = state.mouseX + pick(17) - 8, y = state.mouseY + pick(17) - 8;
            if (pick(2) == 0) {
                (pick(2) == 0 ? x : y) = pick(2) == 0 ? state.mouseX : state.mouseY;
            }
            if (pick(12) == 0) {
                const PaneOrigin origin = paneOrigin(TopPane + pick(4)); // any of the four
                x = origin.left + pick(PaneSize + 20) - 10,
                y = origin.top + pick(PaneSize + 20) - 10;
            } else if (pick(40) == 0) {
                x = pick(900) - 50, y = pick(700) - 50;
            }
            dispatchMouseMove(state, handlers, x, y, leftHeld, rightHeld);
            return "move to " + std::to_string(x) + "," + std::to_string(y);
        }
        if (kind < 70) {
            const bool left = pick(3) != 0;
            bool& held = left ? leftHeld : rightHeld;
            const MouseButton button = left ? MouseButton::Left : MouseButton::Right;
            held = !held;
            if (held) {
                platform.boxAnswers.push_back(pick(2) == 0 ? BoxAnswer::Ok : BoxAnswer::Cancel);
                dispatchButtonDown(state, handlers, button);
                return left ? "left down" : "right down";
            }
            dispatchButtonUp(state, handlers, button);
            return left ? "left up" : "right up";
        }
        if (kind < 77) {
            // A menu entry or a toggle: move onto its mark and click it. Loads pick one of the
            // two missions; saving is cancelled.
            // Half the clicks choose a mode that drags: SELECT POINT, MOVE POINT or VIEW.
            const int dragModes[] = {1, 2, 4};
            const int entry = pick(2) == 0 ? dragModes[pick(3)] : pick(13);
            const int y = entry < 8 ? 48 + 30 * entry : 368 + 20 * (entry - 8);
            const char* files[] = {"/sample.bd1", "/hostile.bd1", "/sample.pd1", "/hostile.pd1"};
            if (entry == 5 || entry == 7) {
                platform.dialogAnswers.push_back(scratch.path() +
                                                 files[(entry == 7 ? 2 : 0) + pick(2)]);
            }
            dispatchMouseMove(state, handlers, 608, y, false, false);
            dispatchButtonDown(state, handlers, MouseButton::Left);
            dispatchButtonUp(state, handlers, MouseButton::Left);
            leftHeld = false;
            platform.dialogAnswers.clear();
            return "click menu entry " + std::to_string(entry);
        }
        // clang-format off
        const int keys[] = {'A', 'Z', 'S', 'X', 'D', 'C', 'F', 'V', vk::function(3), vk::Left,
                            vk::Right, vk::numpad(4), vk::numpad(6), vk::numpad(8), vk::numpad(5),
                            vk::Add, vk::Subtract, vk::numpad(0), vk::digit(1), vk::digit(3),
                            vk::digit(7), vk::digit(0), vk::Insert, vk::function(11),
                            vk::function(12)};
        // clang-format on
        const int key = keys[pick(static_cast<int>(std::size(keys)))];
        dispatchKeyDown(state, handlers, key);
        return "key " + std::to_string(key);
    }

    // Sessions of `events` each from a freshly loaded mission, so that the camera stays near
    // the map; the canvas and the retained panes go on from one session to the next.
    void run(const char* blocks, const char* points, unsigned seed, int sessions, int events) {
        std::mt19937 random(seed);
        for (int session = 0; session < sessions; ++session) {
            state.textures = {}; // before the state that held them
            state = EditorState{};
            state.textureLoader = device.get();
            state.platform = &platform;
            targets.emplace(FrameTargets{*device, &retained});
            leftHeld = rightHeld = false;
            ASSERT_TRUE(loadBlockFile(state, scratch.path() + blocks));
            ASSERT_TRUE(loadPointFile(state, scratch.path() + points));
            for (int i = 0; i < events; ++i) {
                const std::string event = randomEvent(random);
                platform.texts.clear();
                ASSERT_EQ(differences(), 0)
                    << "session " << session << " event " << i << ": " << event;
            }
        }
    }

    std::unique_ptr<Canvas> drawn = std::make_unique<Canvas>();
    testing::FakePlatform platform;
    RetainedPanes retained;
    std::optional<FrameTargets> targets; // the device with the retained panes, once it exists
    EditorHandlers handlers = editorHandlers(
        [this](const EditorState& s) { drawFrame(s, platform, targets ? &*targets : nullptr); });
    bool leftHeld = false, rightHeld = false;
};

TEST_F(PaneRedraw, SampleAndHostileMissionsMatchFullRedraws) {
    run("/sample.bd1", "/sample.pd1", 1, 6, 250);
    run("/hostile.bd1", "/hostile.pd1", 2, 4, 250);
}

} // namespace
} // namespace tavo
