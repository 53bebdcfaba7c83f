#include "pointeditor/data/face_triangles.h"

#include <cmath>

namespace tavo {

std::optional<double> heightAbove(const Point3& a, const Point3& b, const Point3& c, double x,
                                  double z) {
    const double det = (b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z);
    if (std::fabs(det) < Parallel) {
        return std::nullopt;
    }
    const double towardB = ((x - a.x) * (c.z - a.z) - (c.x - a.x) * (z - a.z)) / det;
    const double towardC = ((b.x - a.x) * (z - a.z) - (x - a.x) * (b.z - a.z)) / det;
    if (towardB < -EdgeSlack || towardC < -EdgeSlack || towardB + towardC > 1.0 + EdgeSlack) {
        return std::nullopt;
    }
    return a.y + towardB * (b.y - a.y) + towardC * (c.y - a.y);
}

} // namespace tavo
