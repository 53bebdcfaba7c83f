// The frame's call order through a recording device: the scenes and what a lost device does
// to the rest of the frame.

#include <gtest/gtest.h>

#include <algorithm>

#include "pointeditor/view/render_panes.h"
#include "recording_device.h"

namespace tavo {
namespace {

using Calls = std::vector<std::string>;

class RenderOrderTest : public ::testing::Test {
  protected:
    void SetUp() override { state.device = &device; }
    testing::RecordingDevice device;
    EditorState state;
};

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

} // namespace
} // namespace tavo
