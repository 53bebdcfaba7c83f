// The link line list: each pass's colour rules, look-through lines past branch points, ids
// that several points share, and the 400-line cap.

#include <gtest/gtest.h>

#include <vector>

#include "pointeditor/view/point_markers.h"
#include "scene_builders.h"

namespace tavo {
namespace {

constexpr int Human = 1;
constexpr int Path = 3;
constexpr int HumanEmptyHanded = 6;
constexpr int RandomPath = 8;
constexpr int Grenade = 6;

struct Line {
    int from; // slot whose position the line starts at (x holds the slot number)
    int to;
    uint32_t colour;
    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& l) {
    return out << l.from << "->" << l.to << " " << std::hex << l.colour << std::dec;
}

class LinkLinesTest : public ::testing::Test {
  protected:
    // A point in `slot` at x = slot, so lines can be read back as slot pairs. p4 is its id;
    // the special ids (0, -100, -110, -120) are avoided unless a test asks for them.
    void add(int slot, int kind, int p2, int p3, int id) {
        state.points[static_cast<std::size_t>(slot)] =
            testing::point(static_cast<float>(slot), 1, 2, kind, p2, p3, id);
        state.pointUsed[static_cast<std::size_t>(slot)] = 1;
    }
    std::vector<Line> lines() {
        buildLinkLines(state);
        std::vector<Line> result;
        for (int i = 0; i < state.linkLineCount; ++i) {
            const LinkLine& l = state.linkLines[static_cast<std::size_t>(i)];
            result.push_back({static_cast<int>(l.fromX), static_cast<int>(l.toX), l.colour});
        }
        return result;
    }

    EditorState state;
};

TEST_F(LinkLinesTest, PathToPathIsOpaqueYellowAndLinksEndAtThePointsPositions) {
    add(0, Path, 0, 11, 10);
    add(1, Path, 0, 99, 11); // names no point: nothing
    EXPECT_EQ(lines(), (std::vector<Line>{{0, 1, 0xFFFFFF00}}));
    const LinkLine& l = state.linkLines[0];
    EXPECT_EQ(l.fromY, 1.0f);
    EXPECT_EQ(l.toZ, 2.0f);
}

TEST_F(LinkLinesTest, GrenadePathIsLookedThroughAndDrawsNoLineOfItsOwn) {
    add(0, Path, 0, 11, 10);       // A -> B
    add(1, Path, Grenade, 12, 11); // B, a grenade point, -> C
    add(2, Path, 0, 99, 12);       // C
    EXPECT_EQ(lines(), (std::vector<Line>{{0, 1, 0x9628FF28}, {0, 2, 0xFFFFFF00}}));
}

TEST_F(LinkLinesTest, RandomPathDrawsBothBranchesTranslucentAndLooksThroughThem) {
    add(0, RandomPath, 12, 11, 10); // R: p3 -> S, p2 -> T
    add(1, Path, Grenade, 13, 11);  // S is a grenade point leading to U
    add(2, Path, 0, 99, 12);        // T
    add(3, Path, 0, 99, 13);        // U
    EXPECT_EQ(lines(), (std::vector<Line>{
                           {0, 1, 0x9628FF28}, // R -> S: grenade colour wins
                           {0, 2, 0x8CFFFF00}, // R -> T
                           {0, 3, 0xFFFFFF00}, // looked through S to U
                       }));
}

TEST_F(LinkLinesTest, PathIntoRandomPathIsTranslucentAndJoinsBothBranches) {
    add(0, Path, 0, 11, 10);        // P -> R
    add(1, RandomPath, 13, 12, 11); // R -> 12 (p3) and 13 (p2)
    add(2, Path, 0, 99, 12);
    add(3, Path, 0, 99, 13);
    EXPECT_EQ(lines(), (std::vector<Line>{
                           {0, 1, 0x8CFFFF00},
                           {0, 3, 0xFFFFFF00}, // through R: its p2 target first
                           {0, 2, 0xFFFFFF00}, // then its p3 target
                           {1, 2, 0x8CFFFF00},
                           {1, 3, 0x8CFFFF00},
                       }));
}

TEST_F(LinkLinesTest, EventsAndHumansLinkInTheirPassOrder) {
    add(0, 14, 11, 12, 10);            // event 14: p3 in pass 2, p2 in pass 3
    add(1, 17, 12, 12, 11);            // event 17: p3 only
    add(2, Human, 0, 10, 12);          // human -> p3
    add(3, HumanEmptyHanded, 0, 3, 3); // names itself: a line of zero length
    add(4, 9, 10, 10, 14);             // kind 9 links nothing
    add(5, -14, 10, 10, 15);           // negative kinds are not events
    EXPECT_EQ(lines(), (std::vector<Line>{
                           {0, 2, 0xFF00FFFF},
                           {1, 2, 0xFF00FFFF},
                           {0, 1, 0x80FFFFFF},
                           {2, 0, 0xA0FFFF00},
                           {3, 3, 0xA0FFFF00},
                       }));
}

TEST_F(LinkLinesTest, SharedIdsResolveToTheLowestSlot) {
    add(5, Path, 0, 20, 30);
    add(7, Path, 0, 99, 20);
    add(9, Path, 0, 99, 20);
    state.pointUsed[2] = 0; // a free slot with the same id is not a target
    state.points[2] = testing::point(2, 0, 0, Path, 0, 99, 20);
    EXPECT_EQ(lines(), (std::vector<Line>{{5, 7, 0xFFFFFF00}}));
}

TEST_F(LinkLinesTest, SpecialIdsGetAFlatGreenX) {
    add(0, 2, 0, 0, 0);
    add(1, 2, 0, 0, -100);
    add(2, 2, 0, 0, -110);
    add(3, 2, 0, 0, -120);
    add(4, 2, 0, 0, -101);
    buildLinkLines(state);
    ASSERT_EQ(state.linkLineCount, 8);
    const LinkLine& first = state.linkLines[0];
    EXPECT_EQ(first.fromX, 8.0f);
    EXPECT_EQ(first.fromZ, 10.0f);
    EXPECT_EQ(first.toX, -8.0f);
    EXPECT_EQ(first.toZ, -6.0f);
    EXPECT_EQ(first.fromY, 1.0f);
    EXPECT_EQ(first.colour, 0xB400FF00u);
    const LinkLine& second = state.linkLines[1];
    EXPECT_EQ(second.fromX, -8.0f);
    EXPECT_EQ(second.fromZ, 10.0f);
    EXPECT_EQ(second.toX, 8.0f);
    EXPECT_EQ(second.toZ, -6.0f);
}

TEST_F(LinkLinesTest, TheListStopsAt400AndDropsTheSecondXLine) {
    // P (no successor), R0 -> P twice (2 lines), `hubs` random paths -> R0 (6 lines each:
    // two to R0 and two looked through R0 for each branch), one path -> P (1 line), then a
    // point with the special id 0 at x = 500.
    auto fill = [&](int hubs) {
        state = EditorState{};
        add(0, Path, 0, 99, 1);
        add(1, RandomPath, 1, 1, 2);
        int slot = 2;
        for (int i = 0; i < hubs; ++i, ++slot) {
            add(slot, RandomPath, 2, 2, 10 + i);
        }
        add(slot++, Path, 0, 1, 90);
        add(slot, 2, 0, 0, 0);
        state.points[static_cast<std::size_t>(slot)].x = 500;
        buildLinkLines(state);
    };
    fill(66); // 2 + 396 + 1 = 399 lines before the X
    ASSERT_EQ(state.linkLineCount, MaxLinkLines);
    EXPECT_EQ(state.linkLines[398].colour, 0xFFFFFF00u);
    EXPECT_EQ(state.linkLines[399].colour, 0xB400FF00u);
    EXPECT_EQ(state.linkLines[399].fromX, 508.0f);
    EXPECT_EQ(state.linkLines[399].toX, 492.0f);

    fill(67); // full before the X: none of it
    ASSERT_EQ(state.linkLineCount, MaxLinkLines);
    for (const LinkLine& line : state.linkLines) {
        EXPECT_NE(line.colour, 0xB400FF00u);
    }
}

TEST(PointColour, PaletteByAbsoluteKindAndGreenWhenSelected) {
    EditorState state;
    auto colourOf = [&](int kind, int used) {
        state.points[0] = testing::point(0, 0, 0, kind);
        state.pointUsed[0] = used;
        return pointColour(state, 0);
    };
    EXPECT_EQ(colourOf(0, 1), 0xFF323CFFu);
    EXPECT_EQ(colourOf(5, 1), 0xFF323CFFu);
    EXPECT_EQ(colourOf(-7, 1), 0xFFFF0AFFu);
    EXPECT_EQ(colourOf(3, 1), colourOf(-3, 1));
    EXPECT_EQ(colourOf(-128, 1), 0xFFFFFF00u);
    EXPECT_EQ(colourOf(4, 1), 0xFF50A0FFu);
    EXPECT_EQ(colourOf(-128, 2), 0xFF00FF00u);
}

} // namespace
} // namespace tavo
