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

int countUsedPoints(const PointTable& table) {
    int count = 0;
    for (SlotState used : table.pointUsed) {
        if (used != SlotFree) {
            ++count;
        }
    }
    return count;
}

int findPointById(const PointTable& table, int8_t id) {
    for (int i = 0; i < MaxPoints; ++i) {
        if (table.pointUsed[i] != SlotFree && table.points[i].p4 == id) {
            return i;
        }
    }
    return -1;
}

bool sameTable(const PointTable& a, const PointTable& b) {
    for (int i = 0; i < MaxPoints; ++i) {
        if (a.pointUsed[i] != b.pointUsed[i] || !sameRecord(a.points[i], b.points[i])) {
            return false;
        }
    }
    return true;
}

bool sameUsedPoints(const PointTable& a, const PointTable& b) {
    for (int i = 0; i < MaxPoints; ++i) {
        const bool usedA = a.pointUsed[i] != 0;
        if (usedA != (b.pointUsed[i] != 0) || (usedA && !sameRecord(a.points[i], b.points[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace tavo
