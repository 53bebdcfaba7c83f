#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "pointeditor/edit/keyboard.h"
#include "pointeditor/edit/templates.h"
#include "pointeditor/edit/tests/edit_fixture.h"
#include "pointeditor/edit/virtual_keys.h"

namespace tavo::testing {
namespace {

struct Expected {
    float dx, dz;
    int kind, p2, p3, id;
};

using Params = std::array<int8_t, 4>;

class TemplateTest : public EditorTest {
  protected:
    // Places template `key` with the cursor at (cx, cy, cz) and first id n, then checks the
    // points in slot order (the slots were free) and what currentParams is left at.
    void expectTemplate(int key, int8_t n, const std::vector<Expected>& points, Params after) {
        state = EditorState{};
        state.window = &platform;
        const float cx = 2.0f, cy = 4.0f, cz = -6.0f;
        state.cursorX = cx;
        state.cursorY = cy;
        state.cursorZ = cz;
        state.currentParams = {7, 7, 7, n};
        onKeyDown(state, vk::digit(key));
        ASSERT_EQ(countUsedPoints(state), static_cast<int>(points.size())) << "key " << key;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const PointRecord& p = state.points[i];
            const Expected& e = points[i];
            EXPECT_EQ(state.pointUsed[i], 1);
            EXPECT_EQ(p.x, cx + e.dx) << "key " << key << " point " << i;
            EXPECT_EQ(p.y, cy) << "key " << key << " point " << i;
            EXPECT_EQ(p.z, cz + e.dz) << "key " << key << " point " << i;
            EXPECT_EQ(p.r, 0.0f);
            EXPECT_EQ(p.p1, e.kind) << "key " << key << " point " << i;
            EXPECT_EQ(p.p2, static_cast<int8_t>(e.p2)) << "key " << key << " point " << i;
            EXPECT_EQ(p.p3, static_cast<int8_t>(e.p3)) << "key " << key << " point " << i;
            EXPECT_EQ(p.p4, static_cast<int8_t>(e.id)) << "key " << key << " point " << i;
        }
        EXPECT_EQ(state.currentParams, after) << "key " << key;
    }
};

TEST_F(TemplateTest, EachKeyLaysOutItsLinkedPoints) {
    const int n = 10;
    auto id = [](int v) { return static_cast<int8_t>(v); };
    expectTemplate(1, n, {{0, 0, 3, 2, n, n}}, {3, 2, id(n), id(n + 1)});
    expectTemplate(2, n, {{10, 0, 3, 0, n + 1, n}, {-10, 0, 3, 0, n, n + 1}},
                   {3, 0, id(n), id(n + 2)});
    expectTemplate(3, n,
                   {{10, 10, 3, 0, n + 1, n},
                    {-10, 10, 3, 0, n + 2, n + 1},
                    {-10, -10, 3, 0, n + 3, n + 2},
                    {10, -10, 3, 0, n, n + 3}},
                   {3, 0, id(n), id(n + 4)});
    expectTemplate(4, n,
                   {{10, 10, 3, 0, n + 1, n},
                    {0, 10, 3, 0, n + 2, n + 1},
                    {-10, 10, 3, 0, n + 3, n + 2},
                    {-10, -10, 3, 0, n + 4, n + 3},
                    {0, -10, 3, 0, n + 5, n + 4},
                    {10, -10, 3, 0, n, n + 5}},
                   {3, 0, id(n), id(n + 6)});
    expectTemplate(5, n,
                   {{0, -15, 3, 1, n + 1, n},
                    {0, -5, 3, 1, n + 2, n + 1},
                    {0, 5, 3, 1, n + 3, n + 2},
                    {0, 15, 3, 2, n + 3, n + 3}},
                   {3, 2, id(n + 3), id(n + 4)});
    std::vector<Expected> longRun;
    for (int i = 0; i < 7; ++i) {
        longRun.push_back({0, -35.0f + 10 * i, 3, 1, n + i + 1, n + i});
    }
    longRun.push_back({0, 35, 3, 2, n + 7, n + 7});
    expectTemplate(6, n, longRun, {3, 2, id(n + 7), id(n + 8)});
    expectTemplate(7, n,
                   {{0, -10, 8, n + 1, n + 2, n},
                    {-5, 0, 8, n + 3, n + 4, n + 1},
                    {5, 0, 8, n + 5, n + 6, n + 2},
                    {-15, 10, 3, 2, n + 3, n + 3},
                    {-5, 10, 3, 2, n + 4, n + 4},
                    {5, 10, 3, 2, n + 5, n + 5},
                    {15, 10, 3, 2, n + 6, n + 6}},
                   {3, 2, id(n + 6), id(n + 7)});
}

TEST_F(TemplateTest, IdsWrapPastOneHundredTwentySeven) {
    expectTemplate(2, 127, {{10, 0, 3, 0, -128, 127}, {-10, 0, 3, 0, 127, -128}},
                   {3, 0, 127, -127});
    // The random branches' ids in p2 wrap too.
    expectTemplate(7, 124,
                   {{0, -10, 8, 125, 126, 124},
                    {-5, 0, 8, 127, -128, 125},
                    {5, 0, 8, -127, -126, 126},
                    {-15, 10, 3, 2, 127, 127},
                    {-5, 10, 3, 2, -128, -128},
                    {5, 10, 3, 2, -127, -127},
                    {15, 10, 3, 2, -126, -126}},
                   {3, 2, -126, -125});
}

TEST_F(TemplateTest, ConsecutiveTemplatesGetSeparateIds) {
    state.currentParams[3] = 20;
    onKeyDown(state, vk::digit(5));
    onKeyDown(state, vk::digit(5));
    ASSERT_EQ(countUsedPoints(state), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(state.points[i].p4, 20 + i);
    }
    EXPECT_EQ(state.points[3].p3, 23); // the first line ends in itself
    EXPECT_EQ(state.points[7].p3, 27);
}

TEST_F(TemplateTest, AFullTableStillAdvancesTheIds) {
    state.pointUsed.fill(1);
    state.pointUsed[50] = 0;
    state.currentParams[3] = 40;
    onKeyDown(state, vk::digit(3));
    EXPECT_EQ(countUsedPoints(state), MaxPoints);
    EXPECT_EQ(state.points[50].p4, 40); // only the first point found room
    EXPECT_EQ(state.points[50].p3, 41);
    EXPECT_EQ(state.currentParams, (Params{3, 0, 40, 44}));
}

TEST_F(TemplateTest, KeyZeroPlacesFourCopiesOfTheCurrentParameters) {
    state.cursorX = 1.0f;
    state.cursorY = 2.0f;
    state.cursorZ = 3.0f;
    state.currentParams = {0, -4, 5, 6};
    onKeyDown(state, vk::digit(0));
    ASSERT_EQ(countUsedPoints(state), 4);
    const float corners[4][2] = {{6, 8}, {-4, 8}, {-4, -2}, {6, -2}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(state.points[i].x, corners[i][0]);
        EXPECT_EQ(state.points[i].y, 2.0f);
        EXPECT_EQ(state.points[i].z, corners[i][1]);
        EXPECT_EQ(state.points[i].p1, 0);
        EXPECT_EQ(state.points[i].p2, -4);
        EXPECT_EQ(state.points[i].p4, 6); // one id for all four
    }
    EXPECT_EQ(state.currentParams, (Params{0, -4, 5, 6}));
}

TEST_F(TemplateTest, KeypadDigitsAndKeysEightAndNinePlaceNothing) {
    for (int key : {vk::numpad(1), vk::numpad(3), vk::numpad(7), vk::digit(8), vk::digit(9)}) {
        onKeyDown(state, key);
    }
    EXPECT_EQ(countUsedPoints(state), 0);
    placePathTemplate(state, 0);
    placePathTemplate(state, 8);
    EXPECT_EQ(countUsedPoints(state), 0);
}

class InsertTest : public EditorTest {};

TEST_F(InsertTest, InsertSplitsTheLinkOfTheLowestSelectedPoint) {
    putPoint(0, 0, 0, 0, 1, {3, 0, 30, 20});   // id 20 (unselected): not S
    putPoint(2, 10, 2, -4, 2, {3, 1, 30, 21}); // S: id 21 -> 30
    putPoint(4, 30, 6, 8, 1, {3, 0, 21, 30});  // T
    putPoint(5, 0, 0, 0, 2, {3, 0, 21, 22});   // also selected: stays selected
    state.currentParams = {3, 2, 99, 40};
    onKeyDown(state, vk::Insert);
    ASSERT_EQ(state.pointUsed[1], 1); // the lowest free slot
    const PointRecord& added = state.points[1];
    EXPECT_EQ(added.x, 20.0f);
    EXPECT_EQ(added.y, 4.0f);
    EXPECT_EQ(added.z, 2.0f);
    EXPECT_EQ(added.p1, 3);
    EXPECT_EQ(added.p2, 2);
    EXPECT_EQ(added.p3, 30); // onwards to T
    EXPECT_EQ(added.p4, 40);
    EXPECT_EQ(state.points[2].p3, 40); // S now links to the new point
    EXPECT_EQ(state.pointUsed[2], 1);
    EXPECT_EQ(state.pointUsed[5], 2);
    EXPECT_EQ(state.currentParams, (Params{3, 2, 99, 40})); // p4 is not advanced

    onKeyDown(state, vk::Insert); // now slot 5 is the lowest selected: 22 -> 21
    ASSERT_EQ(state.pointUsed[3], 1);
    EXPECT_EQ(state.points[3].x, 5.0f);
    EXPECT_EQ(state.points[3].p3, 21);
    EXPECT_EQ(state.points[5].p3, 40);
    EXPECT_EQ(state.pointUsed[5], 1);
}

TEST_F(InsertTest, ASelfLinkedPointGetsANewPointOnItself) {
    putPoint(3, 5, 6, 7, 2, {3, 2, 12, 12});
    state.currentParams = {3, 0, 0, 13};
    onKeyDown(state, vk::Insert);
    ASSERT_EQ(state.pointUsed[0], 1);
    EXPECT_EQ(state.points[0].x, 5.0f);
    EXPECT_EQ(state.points[0].y, 6.0f);
    EXPECT_EQ(state.points[0].z, 7.0f);
    EXPECT_EQ(state.points[0].p3, 12);
    EXPECT_EQ(state.points[0].p4, 13);
    EXPECT_EQ(state.points[3].p3, 13);
    EXPECT_EQ(state.pointUsed[3], 1);
}

TEST_F(InsertTest, NothingHappensWithoutSelectionTargetOrRoom) {
    putPoint(0, 0, 0, 0, 1, {3, 0, 1, 1});
    onKeyDown(state, vk::Insert); // nothing selected
    EXPECT_EQ(countUsedPoints(state), 1);

    putPoint(1, 0, 0, 0, 2, {3, 0, 77, 2}); // links to an id that no point has
    onKeyDown(state, vk::Insert);
    EXPECT_EQ(countUsedPoints(state), 2);
    EXPECT_EQ(state.pointUsed[1], 2);
    EXPECT_EQ(state.points[1].p3, 77);

    state.points[1].p3 = 1; // a real target, but the table is full
    for (int i = 2; i < MaxPoints; ++i) {
        state.pointUsed[i] = 1;
        state.points[i].p4 = 100;
    }
    onKeyDown(state, vk::Insert);
    EXPECT_EQ(state.pointUsed[1], 2);
    EXPECT_EQ(state.points[1].p3, 1);
}

} // namespace
} // namespace tavo::testing
