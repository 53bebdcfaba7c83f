#pragma once
// Hand-made points and maps for the pointtool tests and benchmark.

#include <bit>
#include <cstdint>
#include <vector>

#include "pointeditor/data/records.h"

namespace tavo::pointtool::testing {

inline PointRecord point(int p1, int p2, int p3, int p4, float x = 0.0f, float y = 0.0f,
                         float z = 0.0f, float r = 0.0f) {
    return {x, y, z, r, int8_t(p1), int8_t(p2), int8_t(p3), int8_t(p4)};
}

inline void putLittleEndian(std::vector<uint8_t>& out, std::size_t at, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// A .bd1 laid out by hand (the editor has no writer for maps): no texture names, and of each
// block only its corners and in-use flag, which is all the checks read.
inline std::vector<uint8_t> blockFileBytes(const std::vector<BlockRecord>& blocks) {
    const std::size_t header = TextureCount * TextureNameSize + 2;
    std::vector<uint8_t> out(header + blocks.size() * BlockRecordSize, 0);
    putLittleEndian(out, header - 2, static_cast<uint32_t>(blocks.size()), 2);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const std::size_t at = header + i * BlockRecordSize;
        const float* axes[3] = {blocks[i].x, blocks[i].y, blocks[i].z};
        for (int k = 0; k < 24; ++k) { // x[0..7], then y, then z
            putLittleEndian(out, at + 4 * k, std::bit_cast<uint32_t>(axes[k / 8][k % 8]), 4);
        }
        putLittleEndian(out, at + 312, static_cast<uint32_t>(blocks[i].inUse), 4);
    }
    return out;
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
