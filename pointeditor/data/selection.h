#pragma once
// The selection: the used points whose slot state is SlotSelected. Every command that acts on
// "the selected points" goes through these, in slot order.

#include "pointeditor/data/point_table.h"

namespace tavo {

// action(slot, point) for each selected point, lowest slot first.
template <typename Action> void forEachSelected(PointTable& table, Action action) {
    for (int slot = 0; slot < MaxPoints; ++slot) {
        if (table.pointUsed[slot] == SlotSelected) {
            action(slot, table.points[slot]);
        }
    }
}

template <typename Action> void forEachSelected(const PointTable& table, Action action) {
    for (int slot = 0; slot < MaxPoints; ++slot) {
        if (table.pointUsed[slot] == SlotSelected) {
            action(slot, table.points[slot]);
        }
    }
}

// Every selected point becomes merely used.
void clearSelection(PointTable& table);

// Only slot is selected afterwards (it must be in use).
void selectOnly(PointTable& table, int slot);

int countSelected(const PointTable& table);

// The lowest selected slot, or -1 when nothing is selected.
int firstSelected(const PointTable& table);

} // namespace tavo
