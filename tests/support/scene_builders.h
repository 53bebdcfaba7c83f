#pragma once
// Blocks and points for tests and the benchmark.

#include "pointeditor/data/records.h"

namespace tavo::testing {

// An axis-parallel box from (x0, y0, z0) to (x1, y1, z1) whose six faces look outwards
// (corners 0-3 the bottom ring, 4-7 the top), untextured (textureId -1), u and v 0..1.
inline BlockRecord box(float x0, float y0, float z0, float x1, float y1, float z1) {
    BlockRecord block;
    for (int c = 0; c < 8; ++c) {
        block.x[c] = c % 4 < 2 ? x0 : x1;
        block.y[c] = c < 4 ? y0 : y1;
        block.z[c] = c % 4 == 1 || c % 4 == 2 ? z1 : z0;
    }
    for (int f = 0; f < 6; ++f) {
        for (int k = 0; k < 4; ++k) {
            block.u[f][k] = k == 1 || k == 2 ? 1.0f : 0.0f;
            block.v[f][k] = k >= 2 ? 1.0f : 0.0f;
        }
        block.textureId[f] = -1;
    }
    block.inUse = 1;
    return block;
}

// The face of box() whose outward normal points along each axis.
enum BoxFace { FaceMinusY, FacePlusY, FaceMinusX, FacePlusZ, FacePlusX, FaceMinusZ };

inline PointRecord point(float x, float y, float z, int p1, int p2 = 0, int p3 = 0, int p4 = 1,
                         float r = 0.0f) {
    auto byte = [](int value) { return static_cast<int8_t>(value); };
    return {x, y, z, r, byte(p1), byte(p2), byte(p3), byte(p4)};
}

} // namespace tavo::testing
