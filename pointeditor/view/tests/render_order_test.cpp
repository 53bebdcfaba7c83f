// The frame's call order through a recording device: scene structure, what a lost device
// does to the rest of the frame, the states set before the 3D pane, and the draws per face
// and per point.

#include <gtest/gtest.h>

#include <algorithm>

#include "pointeditor/view/render_panes.h"
#include "recording_device.h"
#include "scene_builders.h"

namespace tavo {
namespace {

using Calls = std::vector<std::string>;

class RenderOrderTest : public ::testing::Test {
  protected:
    void SetUp() override { state.device = &device; }
    testing::RecordingDevice device;
    EditorState state;
};

// A texture nobody draws with; only its address matters to the recording device.
class DummyTexture : public Texture {};

TEST_F(RenderOrderTest, FourScenesEachClearedAndPresentedIntoItsPane) {
    state.showTopView = 0;
    state.showFrontView = 0;
    state.showSideView = 0;
    renderPanes(state);
    Calls scenes;
    for (const std::string& call : device.calls) {
        if (call == "begin" || call == "end" || call.rfind("clear", 0) == 0 ||
            call.rfind("present", 0) == 0) {
            scenes.push_back(call);
        }
    }
    const std::string clear = "clear 3 4278190080 1";
    EXPECT_EQ(scenes, (Calls{"begin", clear, "end", "present 300 25", "begin", clear, "end",
                             "present 10 25", "begin", clear, "end", "present 10 315", "begin",
                             clear, "end", "present 300 315"}));
    // Turned-off panes draw nothing at all.
    EXPECT_TRUE(device.only("pane").empty());
}

TEST_F(RenderOrderTest, ALostDeviceOnTheFirstPaneStillPresentsTheOtherThree) {
    device.lostPresents = 1;
    renderPanes(state);
    Calls afterLoss(std::find(device.calls.begin(), device.calls.end(), "present 300 25"),
                    device.calls.end());
    ASSERT_GE(afterLoss.size(), 2u);
    EXPECT_EQ(afterLoss[1], "reset");
    EXPECT_EQ(device.only("present"),
              (Calls{"present 300 25", "present 10 25", "present 10 315", "present 300 315"}));
    EXPECT_EQ(device.only("begin").size(), 4u);
    EXPECT_EQ(device.only("reset").size(), 1u);
    // The 2D panes are drawn all the same (the grid at least), without states set again.
    EXPECT_GE(device.only("paneLines").size(), 3u * 56u);
    Calls statesAfter;
    for (const std::string& call : afterLoss) {
        if (call.rfind("renderState", 0) == 0 || call.rfind("transform", 0) == 0) {
            statesAfter.push_back(call);
        }
    }
    EXPECT_EQ(statesAfter, (Calls{"renderState 1 1"})); // only culling off for the 2D panes
}

TEST_F(RenderOrderTest, AStillLostDeviceIsResetAfterEveryPresent) {
    device.lostPresents = 100;
    renderPanes(state);
    EXPECT_EQ(device.only("reset").size(), 4u);
}

TEST_F(RenderOrderTest, StatesTransformsAndFormatComeBeforeTheFirstScene) {
    renderPanes(state);
    Calls before(device.calls.begin(),
                 std::find(device.calls.begin(), device.calls.end(), "begin"));
    EXPECT_EQ(before, (Calls{
                          "renderState 0 1", // depth test on
                          "renderState 1 3", // cull counter-clockwise
                          "stageState 8 0",  // mip filter none
                          "stageState 6 0",  // mag filter none
                          "stageState 7 0",  // min filter none
                          "stageState 0 4",  // colour: texture x diffuse
                          "stageState 1 2",   "stageState 2 0",
                          "stageState 3 4", // alpha: texture x diffuse
                          "stageState 4 2",   "stageState 5 0",
                          "renderState 2 0", // no lighting
                          "renderState 3 5", // source alpha
                          "renderState 4 6", // inverse source alpha
                          "renderState 5 1", // blending on
                          "transform 2",      "transform 1",    "transform 0",
                          "vertexFormat 322", // 0x142
                      }));
    // Between the 3D pane and the 2D panes: culling off and the pre-transformed format.
    auto firstPresent = std::find(device.calls.begin(), device.calls.end(), "present 300 25");
    auto secondBegin = std::find(firstPresent, device.calls.end(), "begin");
    EXPECT_EQ(Calls(firstPresent + 1, secondBegin), (Calls{"renderState 1 1", "vertexFormat 324"}));
}

TEST_F(RenderOrderTest, EachFaceBindsItsSlotAndDrawsOneFan) {
    state.textures[4].reset(new DummyTexture);
    state.blocks[2] = testing::box(0, 0, 0, 1, 1, 1);
    state.blocks[2].textureId[0] = 4;
    state.blocks[2].textureId[1] = 10; // outside the slots
    state.blocks[2].textureId[2] = -1;
    state.blocks[2].textureId[3] = 3; // an empty slot
    state.showTopView = state.showFrontView = state.showSideView = 0;
    renderPanes(state);
    Calls faces;
    for (const std::string& call : device.calls) {
        if (call.rfind("texture", 0) == 0 || call.rfind("blockFan", 0) == 0) {
            faces.push_back(call);
        }
    }
    ASSERT_GE(faces.size(), 12u);
    EXPECT_EQ(Calls(faces.begin(), faces.begin() + 8),
              (Calls{"texture set", "blockFan 2 4", "texture none", "blockFan 2 4", "texture none",
                     "blockFan 2 4", "texture none", "blockFan 2 4"}));
    EXPECT_EQ(device.only("blockFan").size(), 6u);
}

TEST_F(RenderOrderTest, EveryPointInUseDrawsThreeSegmentsUntextured) {
    state.zoom = 1.0f; // arm (11 - 1) * 0.6 + 0.1 = 6.1
    state.points[0] = testing::point(10, 20, 30, 2);
    state.pointUsed[0] = 1;
    state.points[9] = testing::point(0, 0, 0, 2);
    state.pointUsed[9] = 2;
    state.showTopView = state.showFrontView = state.showSideView = 0;
    renderPanes(state);
    EXPECT_EQ(device.only("blockLines"), Calls(6, "blockLines 1 2"));
    ASSERT_EQ(device.blockVertices.size(), 12u);
    const BlockVertex& first = device.blockVertices[0];
    EXPECT_FLOAT_EQ(first.x, 16.1f);
    EXPECT_EQ(device.blockVertices[1].x, 10 - 6.1f);
    EXPECT_EQ(device.blockVertices[2].y, 20 + 6.1f);
    EXPECT_EQ(device.blockVertices[5].z, 30 - 6.1f);
    EXPECT_EQ(first.colour, 0xFFFF0AFFu);
    EXPECT_EQ(device.blockVertices[6].colour, 0xFF00FF00u);
    EXPECT_EQ(device.lastTexture, nullptr);
}

TEST_F(RenderOrderTest, LinkLinesAreRebuiltBeforeTheTwoDimensionalPanes) {
    state.points[0] = testing::point(0, 0, 0, 2, 0, 0, 0); // special id: two X lines
    state.pointUsed[0] = 1;
    state.linkLineCount = 300;
    renderPanes(state);
    EXPECT_EQ(state.linkLineCount, 2);
}

} // namespace
} // namespace tavo
