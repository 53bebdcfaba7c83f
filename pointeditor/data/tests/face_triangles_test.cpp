#include <gtest/gtest.h>

#include <optional>

#include "pointeditor/data/face_triangles.h"

namespace tavo {
namespace {

// A triangle rising 1 along x and 2 along z from (0, 10, 0): its height is 10 + x + 2z.
constexpr Point3 A{0, 10, 0}, B{4, 14, 0}, C{0, 18, 4};

TEST(FaceTriangles, TheHeightAboveASpotIsReadAcrossTheTriangle) {
    const struct {
        const char* name;
        double x, z;
        std::optional<double> height;
    } rows[] = {
        {"a corner", 0, 0, 10},
        {"inside, both slopes", 1, 2, 15},
        {"on the long edge", 2, 2, 16},
        {"just past an edge, within the slack", 2, -1e-7, 12},
        {"past an edge", 2, -1e-3, std::nullopt},
        {"past the long edge", 2.01, 2, std::nullopt},
    };
    for (const auto& row : rows) {
        const std::optional<double> height = heightAbove(A, B, C, row.x, row.z);
        ASSERT_EQ(height.has_value(), row.height.has_value()) << row.name;
        if (height) {
            EXPECT_NEAR(*height, *row.height, 1e-6) << row.name;
        }
    }
    EXPECT_EQ(heightAbove(A, B, Point3{8, 18, 0}, 2, 0), std::nullopt) << "an upright triangle";
}

} // namespace
} // namespace tavo
