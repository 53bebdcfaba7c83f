#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "pointeditor/data/point_placement.h"
#include "tests/support/scene_builders.h"

namespace tavo {
namespace {

using testing::box;
using testing::point;

// Block 0 a floor 4 thick with its top at y 0; block 1 a wall on it, x 10 to 12, 10 high; block 2 a
// ramp from x -40 to -20 whose top rises from y 1 to 4 (2.5 at x -30); block 3 a crate nobody uses,
// where a floating human would stand on it; block 4 a slab of 1 by 1 on posts nobody drew, its
// underside at y 1, outside the floor.
BlockFileContents yard() {
    BlockFileContents map;
    map.hasHeader = true;
    BlockRecord ramp = box(-40, 0, 20, -20, 1, 30);
    ramp.y[6] = ramp.y[7] = 4;
    BlockRecord unused = box(-5, 0, -5, 5, 3, 5);
    unused.inUse = 0;
    map.blocks = {box(-50, -4, -50, 50, 0, 50), box(10, 0, -50, 12, 10, 50), ramp, unused,
                  box(60, 1, 0, 61, 4, 1)};
    return map;
}

std::vector<Finding> placed(const PointRecord& record, const BlockFileContents& map = yard()) {
    PointTable table;
    table.points[3] = record;
    table.pointUsed[3] = SlotUsed;
    table.points[4] = point(0, 50, 0, 1); // a free slot's leftover, floating: never told
    return placementFindings(table, map);
}

const std::string Floats = "floats: no face of the map lies within 3 units below its feet (y ";
const std::string InWall = "lies inside block 1, more than 0.5 units behind each of its faces";
const std::string InRamp = "lies inside block 2, more than 0.5 units behind each of its faces";
const std::string InFloor = "lies inside block 0, more than 0.5 units behind each of its faces";

TEST(PointPlacement, HumansAndWeaponsInBlocksAndHumansWithNothingBelow) {
    constexpr int Human = 1, Weapon = 2, Path = 3, EmptyHanded = 6, RandomWeapon = 7;
    const struct {
        const char* name;
        PointRecord point;
        std::vector<std::string> messages;
    } rows[] = {
        {"on the floor", point(0, 0, 0, Human), {}},
        {"3 above the floor", point(0, 3, 0, Human), {}},
        {"3.25 above the floor", point(0, 3.25f, 0, Human), {Floats + "3.25)"}},
        {"sunk 0.5 into the floor", point(0, -0.5f, 0, Human), {}},
        {"sunk 0.75 into the floor", point(0, -0.75f, 0, Human), {InFloor, Floats + "-0.75)"}},
        {"in the wall", point(11, 1, 0, Human), {InWall}},
        {"empty handed in the wall", point(11, 1, 0, EmptyHanded), {InWall}},
        {"in the wall high up", point(11, 5, 0, Human), {InWall, Floats + "5)"}},
        {"on the wall", point(11, 10, 0, Human), {}},
        {"against the wall", point(10, 1, 0, Human), {}},
        {"0.5 into the wall", point(10.5f, 1, 0, Human), {}},
        {"0.75 into the wall", point(10.75f, 1, 0, Human), {InWall}},
        {"0.5 from the wall's far side", point(11.5f, 1, 0, Human), {}},
        {"0.5 below the wall's top", point(11, 9.5f, 0, Human), {}},
        {"0.5 from the wall's end", point(11, 1, 49.5f, Human), {}},
        {"0.75 from the wall's end", point(11, 1, 49.25f, Human), {InWall}},
        {"weapon in the wall", point(11, 5, 0, Weapon), {InWall}},
        {"random weapon in the wall", point(11, 5, 0, RandomWeapon), {InWall}},
        {"path point in the wall", point(11, 5, 0, Path), {}},
        {"weapon in the air", point(0, 20, 0, Weapon), {}},
        {"on the ramp", point(-30, 2.5f, 25, Human), {}},
        {"3 above the ramp", point(-30, 5.5f, 25, Human), {}},
        {"3.25 above the ramp", point(-30, 5.75f, 25, Human), {Floats + "5.75)"}},
        {"sunk 0.5 into the ramp", point(-30, 2, 25, Human), {}},
        {"sunk 0.9 into the ramp", point(-30, 1.6f, 25, Human), {InRamp}},
        {"sunk 0.9 into the ramp's upper half", point(-25, 2.35f, 25, Human), {InRamp}},
        {"beside the map", point(60, 0, 0, Human), {Floats + "0)"}},
        {"beside the map's corner", point(-50.25f, 0, -50.25f, Human), {Floats + "0)"}},
        {"on the map's corner", point(-49.75f, 0, -49.75f, Human), {}},
        {"on the map's far corner", point(49.75f, 0, 49.75f, Human), {}},
        {"0.25 under the slab", point(60.5f, 0.75f, 0.5f, Human), {}},
        {"0.75 under the slab", point(60.5f, 0.25f, 0.5f, Human), {Floats + "0.25)"}},
        {"where an unused crate stands", point(0, 3, 0, Human), {}},
        {"not a finite number", point(0, std::numeric_limits<float>::infinity(), 0, Human), {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<Finding> findings = placed(row.point);
        ASSERT_EQ(findings.size(), row.messages.size());
        for (std::size_t i = 0; i < findings.size(); ++i) {
            EXPECT_EQ(std::tuple(findings[i].slot, findings[i].id, findings[i].kind,
                                 findings[i].severity, findings[i].message),
                      std::tuple(3, 1, row.point.p1, Severity::Warning, row.messages[i]));
        }
    }
}

TEST(PointPlacement, TheJapaneseTellsTheSame) {
    const std::vector<Finding> findings = placed(point(11, 5, 0, 1));
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].japanese, "ブロック 1 の内部にあります（どの面からも 0.5 単位より内側）");
    EXPECT_EQ(findings[1].japanese, "浮いています。足元 (y 5) から 3 単位以内の下に面がありません");
}

// Corners listed the other way round, a block squashed flat and one with a corner that is not a
// number judge nothing wrongly: only real solids hold points.
TEST(PointPlacement, OddBlocksHoldNoPoint) {
    BlockRecord inverted = box(10, 0, -50, 12, 10, 50);
    for (int c = 0; c < 4; ++c) {
        std::swap(inverted.y[c], inverted.y[c + 4]); // the top ring first: faces look inwards
    }
    BlockRecord flat = box(10, 0, -50, 12, 0, 50);
    BlockRecord broken = box(10, 0, -50, 12, 10, 50);
    BlockRecord brokenLast = broken;
    broken.z[0] = std::numeric_limits<float>::quiet_NaN();
    brokenLast.x[7] = std::numeric_limits<float>::infinity();
    const BlockRecord speck = box(11, 1, 0, 11, 1, 0);
    const struct {
        const char* name;
        BlockRecord block;
        std::size_t findings;
    } rows[] = {{"inverted", inverted, 1},
                {"flat", flat, 0},
                {"a point", speck, 0},
                {"not a number", broken, 0},
                {"infinite", brokenLast, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        BlockFileContents map;
        map.blocks = {box(-50, -4, -50, 50, 0, 50), row.block};
        EXPECT_EQ(placed(point(11, 1, 0, 2), map).size(), row.findings);
    }
    BlockFileContents empty;
    EXPECT_EQ(placed(point(0, 30, 0, 1), empty).size(), 0u) << "no blocks: nothing to stand on";
}

} // namespace
} // namespace tavo
