#pragma once
// A copy of the whole points table, selection included: what an undo step, the last loaded or
// saved file and a recovery file hold. 200 records and their slot states, under 5 KB.

#include <array>
#include <cstdint>

#include "pointeditor/data/records.h"

namespace tavo {

struct PointTable {
    std::array<PointRecord, MaxPoints> points{};
    std::array<int32_t, MaxPoints> used{}; // as EditorState::pointUsed
};

// Bit for bit, free slots' leftover records and the selection included.
bool sameTable(const PointTable& a, const PointTable& b);

// The same points in the same slots: which slots are used and, for those, every field bit for
// bit. Selection and the records left in free slots do not count.
bool sameUsedPoints(const PointTable& a, const PointTable& b);

} // namespace tavo
