#pragma once
// Where points stand on their map: a human or a weapon buried in a block, a human with nothing
// under its feet. Both are judged from the blocks' corners with tolerances, since a map's blocks
// are only as exact as its author made them; a point on a face, or just off it, is where the
// author meant it. The findings are warnings, told in English and in Japanese.

#include <vector>

#include "pointeditor/data/block_file.h"
#include "pointeditor/data/point_check.h"
#include "pointeditor/data/point_table.h"

namespace tavo {

// A point counts as inside a block only this deep behind every one of its faces: a human on a
// floor or a weapon against a wall touches a face without being in the block.
inline constexpr float InsideBlockDepth = 0.5f;
// A human stands on a face that lies at most this far below its feet...
inline constexpr float StandingGap = 3.0f;
// ...or at most this far above them (feet sunk into a floor, short of being inside it).
inline constexpr float SunkenFeet = InsideBlockDepth;

// The findings for the points in use of `table` against the blocks in use of `map`, by slot.
// Points whose position is not a finite number, and blocks with such a corner, are left out.
std::vector<Finding> placementFindings(const PointTable& table, const BlockFileContents& map);

} // namespace tavo
