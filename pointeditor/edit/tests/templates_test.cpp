#include <gtest/gtest.h>

#include "pointeditor/edit/keyboard.h"
#include "pointeditor/edit/tests/edit_fixture.h"
#include "pointeditor/edit/virtual_keys.h"

namespace tavo::testing {
namespace {

using Params = std::array<int8_t, 4>;

// One expected point: offsets from the cursor, then kind, p2, p3, id.
struct Expected {
    float dx, dz;
    int kind, p2, p3, id;
};

class TemplateTest : public EditorTest {
  protected:
    // Places template `key` around the cursor (2, 4, -6) with first id n, then checks the
    // points in slot order and what currentParams is left at.
    void expectTemplate(int key, int8_t n, const std::vector<Expected>& points, Params after) {
        state.pointUsed.fill(0);
        state.cursorX = 2, state.cursorY = 4, state.cursorZ = -6;
        state.currentParams = {7, 7, 7, n};
        onKeyDown(state, vk::digit(key));
        ASSERT_EQ(countUsedPoints(state), static_cast<int>(points.size())) << "key " << key;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const PointRecord& p = state.points[i];
            const Expected& e = points[i];
            EXPECT_TRUE(p.x == 2 + e.dx && p.y == 4 && p.z == -6 + e.dz && p.r == 0)
                << "key " << key << " point " << i;
            EXPECT_EQ((Params{p.p1, p.p2, p.p3, p.p4}),
                      (Params{int8_t(e.kind), int8_t(e.p2), int8_t(e.p3), int8_t(e.id)}))
                << "key " << key << " point " << i;
        }
        EXPECT_EQ(state.currentParams, after) << "key " << key;
    }
};

TEST_F(TemplateTest, EachKeyLaysOutItsLinkedPoints) {
    const int n = 10;
    expectTemplate(1, n, {{0, 0, 3, 2, n, n}}, {3, 2, n, n + 1});
    expectTemplate(2, n, {{10, 0, 3, 0, n + 1, n}, {-10, 0, 3, 0, n, n + 1}}, {3, 0, n, n + 2});
    expectTemplate(3, n,
                   {{10, 10, 3, 0, n + 1, n},
                    {-10, 10, 3, 0, n + 2, n + 1},
                    {-10, -10, 3, 0, n + 3, n + 2},
                    {10, -10, 3, 0, n, n + 3}},
                   {3, 0, n, n + 4});
    expectTemplate(4, n,
                   {{10, 10, 3, 0, n + 1, n},
                    {0, 10, 3, 0, n + 2, n + 1},
                    {-10, 10, 3, 0, n + 3, n + 2},
                    {-10, -10, 3, 0, n + 4, n + 3},
                    {0, -10, 3, 0, n + 5, n + 4},
                    {10, -10, 3, 0, n, n + 5}},
                   {3, 0, n, n + 6});
    std::vector<Expected> run;
    for (int i = 0; i < 8; ++i) {
        run.push_back({0, -35.0f + 10 * i, 3, i < 7 ? 1 : 2, n + (i < 7 ? i + 1 : 7), n + i});
    }
    expectTemplate(6, n, run, {3, 2, n + 7, n + 8});
    // Key 5 is the same line, half as long and twice as dense; the ids wrap at 127.
    expectTemplate(5, 125,
                   {{0, -15, 3, 1, 126, 125},
                    {0, -5, 3, 1, 127, 126},
                    {0, 5, 3, 1, -128, 127},
                    {0, 15, 3, 2, -128, -128}},
                   {3, 2, -128, -127});
    expectTemplate(7, 124,
                   {{0, -10, 8, 125, 126, 124},
                    {-5, 0, 8, 127, -128, 125},
                    {5, 0, 8, -127, -126, 126},
                    {-15, 10, 3, 2, 127, 127},
                    {-5, 10, 3, 2, -128, -128},
                    {5, 10, 3, 2, -127, -127},
                    {15, 10, 3, 2, -126, -126}},
                   {3, 2, -126, -125});
    // Key 0: four copies that keep the current parameters, kind 0 included.
    state.pointUsed.fill(0);
    state.currentParams = {0, -4, 5, 6};
    onKeyDown(state, vk::digit(0));
    const float corners[4][2] = {{7, -1}, {-3, -1}, {-3, -11}, {7, -11}};
    for (int i = 0; i < 4; ++i) {
        const PointRecord& p = state.points[i];
        EXPECT_TRUE(p.x == corners[i][0] && p.y == 4 && p.z == corners[i][1] && p.p4 == 6);
    }
    EXPECT_EQ(countUsedPoints(state), 4);
    EXPECT_EQ(state.currentParams, (Params{0, -4, 5, 6}));
}

TEST_F(TemplateTest, AFullTableStillAdvancesTheIdsAndOtherDigitsPlaceNothing) {
    state.pointUsed.fill(1);
    state.pointUsed[50] = 0;
    state.currentParams[3] = 40;
    onKeyDown(state, vk::digit(3));
    EXPECT_TRUE(state.points[50].p4 == 40 && state.points[50].p3 == 41);
    EXPECT_EQ(state.currentParams, (Params{3, 0, 40, 44}));
    state.pointUsed.fill(0);
    for (int key : {vk::numpad(1), vk::numpad(7), vk::digit(8), vk::digit(9)}) {
        onKeyDown(state, key);
    }
    EXPECT_EQ(countUsedPoints(state), 0);
}

TEST_F(TemplateTest, InsertSplitsTheLinkOfTheLowestSelectedPoint) {
    putPoint(0, 0, 0, 0, 1, {3, 0, 30, 20});
    putPoint(2, 10, 2, -4, 2, {3, 1, 30, 21}); // S: 21 -> 30
    putPoint(4, 30, 6, 8, 1, {3, 0, 21, 30});  // T
    putPoint(5, 7, 7, 7, 2, {3, 0, 22, 22});   // selected too, and linked to itself
    state.currentParams = {3, 2, 99, 40};
    onKeyDown(state, vk::Insert);
    const PointRecord& added = state.points[1];
    EXPECT_TRUE(added.x == 20 && added.y == 4 && added.z == 2);
    EXPECT_EQ((Params{added.p1, added.p2, added.p3, added.p4}), (Params{3, 2, 30, 40}));
    EXPECT_EQ(state.points[2].p3, 40); // S links to the new point
    EXPECT_EQ(slots(6), (std::vector<int>{1, 1, 1, 0, 1, 2}));
    EXPECT_EQ(state.currentParams, (Params{3, 2, 99, 40})); // the id is not advanced

    state.currentParams[3] = 41;
    onKeyDown(state, vk::Insert); // a self-linked S gets the new point on itself
    const PointRecord& onItself = state.points[3];
    EXPECT_TRUE(onItself.x == 7 && onItself.y == 7 && onItself.z == 7);
    EXPECT_TRUE(onItself.p3 == 22 && onItself.p4 == 41 && state.points[5].p3 == 41);
    EXPECT_EQ(slots(6), (std::vector<int>{1, 1, 1, 1, 1, 1}));
}

TEST_F(TemplateTest, InsertDoesNothingWithoutSelectionTargetOrRoom) {
    putPoint(0, 0, 0, 0, 1, {3, 0, 1, 1});
    onKeyDown(state, vk::Insert);
    putPoint(1, 0, 0, 0, 2, {3, 0, 77, 2}); // links to an id that no point has
    onKeyDown(state, vk::Insert);
    EXPECT_TRUE(countUsedPoints(state) == 2 && state.pointUsed[1] == 2);
    state.points[1].p3 = 1; // a real target, but the table is full
    for (int i = 2; i < MaxPoints; ++i) {
        putPoint(i, 0, 0, 0, 1, {0, 0, 0, 100});
    }
    onKeyDown(state, vk::Insert);
    EXPECT_TRUE(state.pointUsed[1] == 2 && state.points[1].p3 == 1);
}

} // namespace
} // namespace tavo::testing
