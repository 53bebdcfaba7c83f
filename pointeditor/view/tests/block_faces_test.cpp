// Face shading as numbers: the normal each face takes (collinear and coincident corners
// included) and the grey that follows from it.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "pointeditor/view/block_faces.h"
#include "scene_builders.h"

namespace tavo {
namespace {

using testing::box;

int grey(uint32_t colour) {
    EXPECT_EQ(colour >> 24, 0xFFu);
    EXPECT_EQ((colour >> 16) & 0xFF, colour & 0xFF);
    return static_cast<int>(colour & 0xFF);
}

TEST(FaceShade, EachOutwardNormalHasItsGrey) {
    BlockRecord block = box(-1, -1, -1, 1, 1, 1);
    Vector3 light = lightDirection();
    EXPECT_EQ(grey(faceColour(block, testing::FacePlusY, light)), 233);
    EXPECT_EQ(grey(faceColour(block, testing::FaceMinusY, light)), 152);
    EXPECT_EQ(grey(faceColour(block, testing::FacePlusX, light)), 171);
    EXPECT_EQ(grey(faceColour(block, testing::FaceMinusX, light)), 214);
    EXPECT_EQ(grey(faceColour(block, testing::FacePlusZ, light)), 186);
    EXPECT_EQ(grey(faceColour(block, testing::FaceMinusZ, light)), 199);
}

TEST(FaceShade, CollinearFirstCornersTakeTheNormalFromTheLastThree) {
    // Face 1 runs 4, 5, 6, 7 over the top. Put corner 5 halfway between 4 and 6: the first
    // three corners are on one line, and 5, 6, 7 still give the upward normal.
    BlockRecord block = box(-1, -1, -1, 1, 1, 1);
    block.x[5] = (block.x[4] + block.x[6]) / 2;
    block.z[5] = (block.z[4] + block.z[6]) / 2;
    EXPECT_FALSE(isNonCollinear({block.x[4], 1, block.z[4]}, {block.x[5], 1, block.z[5]},
                                {block.x[6], 1, block.z[6]}));
    EXPECT_EQ(grey(faceColour(block, testing::FacePlusY, lightDirection())), 233);

    // Both triples collinear: all four corners on one line give a zero normal.
    for (int c = 4; c < 8; ++c) {
        block.x[c] = static_cast<float>(c);
        block.z[c] = 0;
    }
    EXPECT_EQ(grey(faceColour(block, testing::FacePlusY, lightDirection())), 193);
}

TEST(FaceShade, CoincidentCornersAreNotCollinearAndGiveTheMiddleGrey) {
    EXPECT_TRUE(isNonCollinear({1, 2, 3}, {1, 2, 3}, {1, 2, 3}));
    EXPECT_TRUE(isNonCollinear({1, 2, 3}, {1, 2, 3}, {4, 2, 3})); // two sides equal
    EXPECT_FALSE(isNonCollinear({0, 0, 0}, {1, 0, 0}, {3, 0, 0}));
    EXPECT_TRUE(isNonCollinear({0, 0, 0}, {1, 0.1f, 0}, {3, 0, 0}));

    // q0 on q1: the first triple stays (no side is strictly longest), its normal is zero.
    BlockRecord block = box(-1, -1, -1, 1, 1, 1);
    block.x[5] = block.x[4];
    block.y[5] = block.y[4];
    block.z[5] = block.z[4];
    EXPECT_EQ(grey(faceColour(block, testing::FacePlusY, lightDirection())), 193);

    // A corner that is not a number (a damaged map) gives no normal: full white, not garbage.
    BlockRecord broken = box(-1, -1, -1, 1, 1, 1);
    broken.x[4] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(faceColour(broken, testing::FacePlusY, lightDirection()), 0xFFFFFFFFu);
    broken.x[4] = std::numeric_limits<float>::infinity();
    EXPECT_EQ(faceColour(broken, testing::FacePlusY, lightDirection()), 0xFFFFFFFFu);

    // All eight corners on one point: every face the same middle grey.
    BlockRecord point = box(2, 2, 2, 2, 2, 2);
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(grey(faceColour(point, f, lightDirection())), 193) << f;
    }
}

TEST(FaceShade, VectorHelpers) {
    Vector3 n = triangleNormal({0, 0, 0}, {0, 0, 2}, {3, 0, 2});
    EXPECT_FLOAT_EQ(n.x, 0);
    EXPECT_FLOAT_EQ(n.y, 6); // (B - A) x (C - B) = (0, 0, 2) x (3, 0, 0)
    EXPECT_FLOAT_EQ(n.z, 0);
    normalizeVector(n);
    EXPECT_FLOAT_EQ(n.y, 1);
    Vector3 zero{0, 0, 0};
    normalizeVector(zero);
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_FALSE(std::isnan(zero.y));

    // Unit vectors whose dot product rounds past 1 still have an angle.
    Vector3 p{0.6f, 0.8f, 0.0f};
    Vector3 q{0.6000001f, 0.8000001f, 0.0f};
    EXPECT_EQ(angleBetween(p, q), 0.0);
    Vector3 minusQ{-q.x, -q.y, -q.z};
    EXPECT_NEAR(angleBetween(p, minusQ), M_PI, 1e-9);
}

} // namespace
} // namespace tavo
