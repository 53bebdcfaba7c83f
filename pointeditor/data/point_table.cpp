#include "pointeditor/data/point_table.h"

#include <bit>
#include <cstdint>

namespace tavo {
namespace {

// Bit patterns, not float comparison: -0.0 differs from 0.0 and a NaN equals itself, as in the
// file.
bool sameBits(float a, float b) {
    return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

bool sameRecord(const PointRecord& a, const PointRecord& b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z) && sameBits(a.r, b.r) &&
           a.p1 == b.p1 && a.p2 == b.p2 && a.p3 == b.p3 && a.p4 == b.p4;
}

} // namespace

bool sameTable(const PointTable& a, const PointTable& b) {
    for (int i = 0; i < MaxPoints; ++i) {
        if (a.used[i] != b.used[i] || !sameRecord(a.points[i], b.points[i])) {
            return false;
        }
    }
    return true;
}

bool sameUsedPoints(const PointTable& a, const PointTable& b) {
    for (int i = 0; i < MaxPoints; ++i) {
        const bool usedA = a.used[i] != 0;
        if (usedA != (b.used[i] != 0) || (usedA && !sameRecord(a.points[i], b.points[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace tavo
