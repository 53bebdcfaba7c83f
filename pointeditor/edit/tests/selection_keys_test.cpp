// Ctrl+A, Ctrl+F, Escape and Delete through the key message, undo included.

#include <gtest/gtest.h>

#include "pointeditor/edit/tests/editor_driver.h"
#include "pointeditor/edit/virtual_keys.h"

namespace tavo::testing {
namespace {

class SelectionKeysTest : public ::testing::Test, public Editor {};

TEST_F(SelectionKeysTest, CtrlASelectsEveryPointInUseAndEscapeDropsABegunBoxFirst) {
    put({{0, 1}, {2, 2}, {3, 1}});
    ctrlPress('A');
    EXPECT_EQ(used(4), (Slots{2, 0, 2, 2})) << "free slots stay free";
    EXPECT_EQ(state.currentParams[0], 0) << "Ctrl+A is not A";
    state.menuMode = MenuSelectPoint;
    click({{150, 165}}, true);
    ASSERT_EQ(state.boxView, TopPane) << "a box begun";
    press(vk::Escape);
    EXPECT_EQ(state.boxView, NoPane) << "the box dropped";
    EXPECT_EQ(used(4), (Slots{2, 0, 2, 2})) << "the selection kept with the box";
    press(vk::Escape);
    EXPECT_EQ(used(4), (Slots{1, 0, 1, 1})) << "then the selection goes";
}

TEST_F(SelectionKeysTest, DeleteAsksAsTheMenuCommandDoesAndIsOneUndoStep) {
    put({{0, 2, 1, 2, 3}, {1, 1, 4, 5, 6}, {2, 2, 7, 8, 9}});
    state.menuMode = MenuMovePoint;
    int32_t modeWhileAsked = MenuNone;
    platform.whileModal = [&] { modeWhileAsked = state.menuMode; };
    platform.boxAnswers = {BoxAnswer::Cancel, BoxAnswer::Ok};
    press(vk::Delete);
    EXPECT_EQ(boxesShown(), "DELETE OK? / DELETE|") << "the menu command's question";
    EXPECT_EQ(modeWhileAsked, MenuDeletePoint) << "DELETE POINT lit while it asks";
    EXPECT_EQ(used(3), (Slots{2, 1, 2})) << "cancelled: nothing deleted";
    press(vk::Delete);
    EXPECT_EQ(used(3), (Slots{0, 1, 0})) << "the selected points deleted";
    EXPECT_EQ(state.menuMode, MenuMovePoint) << "MOVE POINT goes on";
    EXPECT_EQ(history().undoSteps(), 1u) << "one step";
    press(vk::Delete);
    EXPECT_EQ(boxesShown(), "DELETE OK? / DELETE|") << "asked once more, then nothing selected";
    EXPECT_EQ(edits.undo(false), true) << "undone";
    EXPECT_EQ(used(3), (Slots{2, 1, 2})) << "back, with their selection";
}

TEST_F(SelectionKeysTest, CtrlFSelectsAndFramesThePointsWithTheIdOrSaysItIsNotFound) {
    // Ids 7 at slots 0 and 4, the selected slot 1 has id 3.
    put({{0, 1, 10, 0, 0, 1, 0, 0, 7},
         {1, 2, 0, 0, 0, 1, 0, 0, 3},
         {4, 1, 30, 4, 0, 2, 0, 0, 7},
         {5, 0, 0, 0, 0, 2, 0, 0, 9}});
    state.currentParams = {0, 0, 0, 5};
    platform.numberAnswers = {7, 9, std::nullopt, 300, -128};
    ctrlPress('F');
    ASSERT_EQ(platform.numberQuestions.size(), 1u);
    const RecordedNumberQuestion& asked = platform.numberQuestions[0];
    EXPECT_EQ(asked.text, "ID NUMBER (-128 to 127)") << "the question";
    EXPECT_EQ(asked.caption, "FIND BY ID-NUMBER") << "its caption";
    EXPECT_EQ(std::tuple(asked.value, asked.minimum, asked.maximum), std::tuple(5, -128, 127))
        << "the current id offered, the range of an id";
    EXPECT_EQ(used(5), (Slots{2, 1, 0, 0, 2})) << "the points with id 7";
    EXPECT_EQ(pan(), (V3{20, -2, 0})) << "framed";
    EXPECT_EQ(state.currentParams[3], 5) << "Ctrl+F is not F";
    ctrlPress('F');
    EXPECT_EQ(boxesShown(), "NOT FOUND : 9 / ID-NUMBER SEARCH|") << "a free slot's id is none";
    EXPECT_EQ(used(5), (Slots{2, 1, 0, 0, 2})) << "the selection stays";
    ctrlPress('F');
    EXPECT_EQ(boxesShown(), "") << "cancelled: no box";
    ctrlPress('F');
    EXPECT_EQ(boxesShown(), "NOT FOUND : 127 / ID-NUMBER SEARCH|") << "beyond an id: the last";
    state.english = 0;
    ctrlPress('F');
    EXPECT_EQ(platform.numberQuestions.back().caption, "識別番号で検索") << "in Japanese";
}

} // namespace
} // namespace tavo::testing
