#pragma once
// A block's faces as the triangles the 3D pane draws them with, and the ground under them: what
// both dropping points to the floor and checking that humans stand on something measure.

#include <optional>

#include "pointeditor/data/block_geometry.h"
#include "pointeditor/data/records.h"

namespace tavo {

struct Point3 {
    double x, y, z;
};

inline Point3 operator-(const Point3& a, const Point3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

inline double dot(const Point3& a, const Point3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline Point3 cross(const Point3& a, const Point3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline Point3 blockCorner(const BlockRecord& block, int c) {
    return {block.x[c], block.y[c], block.z[c]};
}

// Calls triangle(a, b, c) for both triangles of each face of `block`: the fan (q0, q1, q2),
// (q0, q2, q3).
template <typename Triangle> void forEachFaceTriangle(const BlockRecord& block, Triangle triangle) {
    for (const BlockFace& face : BlockFaces) {
        const auto& q = face.corners;
        triangle(blockCorner(block, q[0]), blockCorner(block, q[1]), blockCorner(block, q[2]));
        triangle(blockCorner(block, q[0]), blockCorner(block, q[2]), blockCorner(block, q[3]));
    }
}

// Barycentric slack, so that a ray or a point on the edge two triangles (or two faces) share
// meets one of them rather than slipping between.
inline constexpr double EdgeSlack = 1e-6;
// Below this a ray runs along a triangle's plane, or a triangle has no area.
inline constexpr double Parallel = 1e-12;

// The height of triangle (a, b, c) straight above or below (x, z), when its outline seen from
// above holds that spot; none for an upright triangle, which covers no ground.
std::optional<double> heightAbove(const Point3& a, const Point3& b, const Point3& c, double x,
                                  double z);

} // namespace tavo
