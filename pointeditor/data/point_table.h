#pragma once
// The points table: 200 records and their slot states, selection included, under 5 KB. The editor
// holds one; an undo step, the last loaded or saved file and a recovery file hold copies.

#include <array>
#include <cstdint>

#include "pointeditor/data/records.h"

namespace tavo {

// What each entry of pointUsed holds.
enum SlotState : int32_t { SlotFree = 0, SlotUsed = 1, SlotSelected = 2 };

struct PointTable {
    std::array<PointRecord, MaxPoints> points{};
    std::array<SlotState, MaxPoints> pointUsed{};
};

// Number of slots in use (selected ones included), 0..200.
int countUsedPoints(const PointTable& table);

// The lowest used slot whose id number p4 equals id, or -1 when no used point has it.
int findPointById(const PointTable& table, int8_t id);

// Bit for bit, free slots' leftover records and the selection included.
bool sameTable(const PointTable& a, const PointTable& b);

// The same points in the same slots: which slots are used and, for those, every field bit for
// bit. Selection and the records left in free slots do not count.
bool sameUsedPoints(const PointTable& a, const PointTable& b);

} // namespace tavo
