#pragma once
// The records that the point editor shares with the game's files. Each is read and written
// field by field as little-endian bytes (see point_file.cpp, block_file.cpp); the in-memory
// layout only has to match for the sizes asserted here.

#include <climits>
#include <cstdint>

namespace tavo {

inline constexpr int MaxBlocks = 160;
inline constexpr int MaxPoints = 200;
inline constexpr int TextureCount = 10;
inline constexpr int TextureNameSize = 31; // one texture file name, NUL included
inline constexpr int MaxLinkLines = 400;
inline constexpr int BlockDirSize =
    PATH_MAX; // blockDir, NUL included: any directory the system opens

// One point: a position, a heading and four signed parameters. 20 bytes in the .pd1 file.
struct PointRecord {
    float x = 0.0f; // world units, +y up
    float y = 0.0f;
    float z = 0.0f;
    float r = 0.0f; // heading in radians; faces (sin r, cos r) in the x/z plane
    int8_t p1 = 0;  // kind
    int8_t p2 = 0;  // kind-dependent (weapon, action, object, second link)
    int8_t p3 = 0;  // kind-dependent, usually the id number of a linked point
    int8_t p4 = 0;  // the point's own id number
};
static_assert(sizeof(PointRecord) == 20);
inline constexpr int PointRecordSize = 20;
inline constexpr int PointCountSize = 2; // the signed 16-bit count before a .pd1's records

// One block: eight corners, six textured faces, an in-use flag. 316 bytes in the .bd1 file.
// Corners 0-3 form one ring and 4-7 the opposite ring; corner c joins corner c + 4.
struct BlockRecord {
    float x[8] = {};
    float y[8] = {};
    float z[8] = {};
    float u[6][4] = {}; // face f, face vertex k
    float v[6][4] = {};
    int32_t textureId[6] = {}; // texture slot 0..9 of each face; other values draw untextured
    int32_t inUse = 0;         // 0: empty slot, drawn nowhere
};
static_assert(sizeof(BlockRecord) == 316);
inline constexpr int BlockRecordSize = 316;

// A line between two linked points as drawn in the 2D panes. Scratch data, rebuilt every frame.
struct LinkLine {
    float fromX = 0.0f, fromY = 0.0f, fromZ = 0.0f;
    float toX = 0.0f, toY = 0.0f, toZ = 0.0f;
    uint32_t colour = 0; // ARGB
};
static_assert(sizeof(LinkLine) == 28);

} // namespace tavo
