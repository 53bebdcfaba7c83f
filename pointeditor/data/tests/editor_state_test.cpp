#include <gtest/gtest.h>

#include "pointeditor/data/editor_state.h"

namespace tavo {
namespace {

TEST(EditorState, FreshStateIsEmptyWithTheStartingViewAndCamera) {
    auto state = std::make_unique<EditorState>();
    EXPECT_EQ(countUsedPoints(*state), 0);
    for (const auto& block : state->blocks) {
        EXPECT_EQ(block.inUse, 0);
    }
    EXPECT_FLOAT_EQ(state->zoom, 2.0f);
    EXPECT_FLOAT_EQ(state->gridStep, 5.0f / state->zoom);
    EXPECT_EQ(state->gridLock + state->showDirection + state->showTopView + state->showFrontView +
                  state->showSideView,
              5);
    EXPECT_FLOAT_EQ(state->cameraX, 50.0f);
    EXPECT_FLOAT_EQ(state->cameraY, 50.0f);
    EXPECT_FLOAT_EQ(state->cameraZ, -50.0f);
}

TEST(EditorState, SelectedSlotsCountAsUsedAndIdLookupTakesTheLowestUsedSlot) {
    auto state = std::make_unique<EditorState>();
    state->points[3].p4 = 7;
    state->points[9].p4 = 7;
    state->points[1].p4 = 7; // free slot: never found
    state->pointUsed[3] = 2;
    state->pointUsed[9] = 1;
    EXPECT_EQ(countUsedPoints(*state), 2);
    EXPECT_EQ(findPointById(*state, 7), 3);
    EXPECT_EQ(findPointById(*state, -7), -1);
    state->points[9].p4 = -128;
    EXPECT_EQ(findPointById(*state, static_cast<int8_t>(-128)), 9);
}

} // namespace
} // namespace tavo
