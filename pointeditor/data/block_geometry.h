#pragma once
// Which corners of a block make each face and each edge. Corners 0-3 form one ring, 4-7 the
// opposite one, corner c joined to c + 4. A face is seen from the side where its corners run
// clockwise.

#include <array>

namespace tavo {

struct BlockFace {
    std::array<int, 4> corners; // draw order q0..q3: the fan (q0, q1, q2), (q0, q2, q3)
};

inline constexpr std::array<BlockFace, 6> BlockFaces = {{
    {{3, 2, 1, 0}},
    {{4, 5, 6, 7}},
    {{0, 1, 5, 4}},
    {{1, 2, 6, 5}},
    {{2, 3, 7, 6}},
    {{3, 0, 4, 7}},
}};

struct BlockEdge {
    int from;
    int to;
};

inline constexpr std::array<BlockEdge, 12> BlockEdges = {{
    {0, 1},
    {1, 2},
    {2, 3},
    {3, 0},
    {4, 5},
    {5, 6},
    {6, 7},
    {7, 4},
    {0, 4},
    {1, 5},
    {2, 6},
    {3, 7},
}};

} // namespace tavo
