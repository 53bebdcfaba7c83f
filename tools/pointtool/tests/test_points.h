#pragma once
// Hand-made points and map blocks for the pointtool tests and benchmark.

#include <cstdint>

#include "pointeditor/data/records.h"

namespace tavo::pointtool::testing {

inline PointRecord point(int p1, int p2, int p3, int p4, float x = 0.0f, float y = 0.0f,
                         float z = 0.0f, float r = 0.0f) {
    return {x, y, z, r, int8_t(p1), int8_t(p2), int8_t(p3), int8_t(p4)};
}

// An axis-aligned box block from (x0, y0, z0) to (x1, y1, z1).
inline BlockRecord boxBlock(float x0, float y0, float z0, float x1, float y1, float z1,
                            int inUse = 1) {
    BlockRecord b;
    for (int c = 0; c < 8; ++c) {
        b.x[c] = (c == 1 || c == 2 || c == 5 || c == 6) ? x1 : x0;
        b.y[c] = c < 4 ? y1 : y0;
        b.z[c] = (c == 2 || c == 3 || c == 6 || c == 7) ? z1 : z0;
    }
    b.inUse = inUse;
    return b;
}

} // namespace tavo::pointtool::testing
