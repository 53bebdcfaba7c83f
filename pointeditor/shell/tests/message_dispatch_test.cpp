#include <gtest/gtest.h>

#include <memory>

#include "pointeditor/shell/tests/recording_handlers.h"

namespace tavo {
namespace {

using Calls = std::vector<std::string>;

class Dispatch : public ::testing::Test {
  protected:
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    testing::HandlerLog log;
    EditorHandlers handlers = testing::recordingHandlers(log);
};

TEST_F(Dispatch, MouseMoveKeepsThePreviousPositionAndCursorThenUpdatesAndDraws) {
    state->mouseX = 100;
    state->mouseY = 120;
    state->cursorX = 1.5f;
    state->cursorY = -2.0f;
    state->cursorZ = 3.25f;
    state->hoverView = 1;
    log.hoverAfterUpdate = 2;
    dispatchMouseMove(*state, handlers, 150, 455, false, false);
    EXPECT_EQ(log.calls, (Calls{"updateCursor 150,455", "drawFrame"}));
    EXPECT_EQ(state->prevMouseX, 100);
    EXPECT_EQ(state->prevMouseY, 120);
    EXPECT_EQ(state->prevCursorX, 1.5f);
    EXPECT_EQ(state->prevCursorY, -2.0f);
    EXPECT_EQ(state->prevCursorZ, 3.25f);
    EXPECT_EQ(state->prevHoverView, 1);
    EXPECT_EQ(state->hoverView, 2);
}

TEST_F(Dispatch, PositionsOutsideTheWindowWrapAsUnsignedSixteenBitValues) {
    dispatchMouseMove(*state, handlers, -1, -20, true, false);
    EXPECT_EQ(state->mouseX, 65535);
    EXPECT_EQ(state->mouseY, 65516);
    dispatchMouseMove(*state, handlers, 65536 + 7, 3, false, false);
    EXPECT_EQ(state->mouseX, 7);
}

TEST_F(Dispatch, OnlyADragOverThe3DPaneInViewModeRecentresThePointer) {
    state->menuMode = kViewMode;
    log.hoverAfterUpdate = kPane3D;
    dispatchMouseMove(*state, handlers, 441, 165, true, false);
    EXPECT_EQ(log.calls,
              (Calls{"updateCursor 441,165", "onLeftDrag", "recentreCursor", "drawFrame"}));

    log.calls.clear();
    dispatchMouseMove(*state, handlers, 442, 165, false, false); // no button: no recentring
    log.hoverAfterUpdate = 1;                                    // a 2D pane
    dispatchMouseMove(*state, handlers, 150, 165, false, true);
    state->menuMode = 3;
    log.hoverAfterUpdate = kPane3D;
    dispatchMouseMove(*state, handlers, 443, 165, true, false); // not VIEW mode
    for (const auto& call : log.calls) {
        EXPECT_NE(call, "recentreCursor");
    }
}

TEST_F(Dispatch, ClosingEndsTheRunAndDrawsOnceMore) {
    state->running = 1;
    dispatchClose(*state, handlers);
    EXPECT_EQ(state->running, 0);
    EXPECT_EQ(log.calls, (Calls{"drawFrame"}));
}

} // namespace
} // namespace tavo
