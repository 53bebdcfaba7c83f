#pragma once
// Blocks and points for tests and the benchmark.

#include "pointeditor/data/records.h"

namespace tavo::testing {

// An axis-parallel box from (x0, y0, z0) to (x1, y1, z1) whose six faces look outwards
// (corners 0-3 the bottom ring, 4-7 the top), untextured (textureId -1), u and v 0..1.
inline BlockRecord box(float x0, float y0, float z0, float x1, float y1, float z1) {
    BlockRecord block;
    const float xs[4] = {x0, x0, x1, x1};
    const float zs[4] = {z0, z1, z1, z0};
    for (int c = 0; c < 8; ++c) {
        block.x[c] = xs[c % 4];
        block.y[c] = c < 4 ? y0 : y1;
        block.z[c] = zs[c % 4];
    }
    const float us[4] = {0, 1, 1, 0};
    const float vs[4] = {0, 0, 1, 1};
    for (int f = 0; f < 6; ++f) {
        for (int k = 0; k < 4; ++k) {
            block.u[f][k] = us[k];
            block.v[f][k] = vs[k];
        }
        block.textureId[f] = -1;
    }
    block.inUse = 1;
    return block;
}

// The face of box() whose outward normal points along each axis.
enum BoxFace {
    FaceMinusY = 0,
    FacePlusY = 1,
    FaceMinusX = 2,
    FacePlusZ = 3,
    FacePlusX = 4,
    FaceMinusZ = 5
};

inline PointRecord point(float x, float y, float z, int p1, int p2 = 0, int p3 = 0, int p4 = 1,
                         float r = 0.0f) {
    PointRecord p;
    p.x = x;
    p.y = y;
    p.z = z;
    p.r = r;
    p.p1 = static_cast<int8_t>(p1);
    p.p2 = static_cast<int8_t>(p2);
    p.p3 = static_cast<int8_t>(p3);
    p.p4 = static_cast<int8_t>(p4);
    return p;
}

} // namespace tavo::testing
