#include "pointeditor/data/point_table.h"

#include <cstring>

namespace tavo {
namespace {

// Bit patterns, not float comparison: -0.0 differs from 0.0 and a NaN equals itself, as in the
// file.
bool sameRecord(const PointRecord& a, const PointRecord& b) {
    return std::memcmp(&a, &b, sizeof(PointRecord)) == 0;
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
