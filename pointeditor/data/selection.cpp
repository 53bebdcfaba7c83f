#include "pointeditor/data/selection.h"

namespace tavo {

void clearSelection(PointTable& table) {
    for (SlotState& used : table.pointUsed) {
        if (used == SlotSelected) {
            used = SlotUsed;
        }
    }
}

void selectOnly(PointTable& table, int slot) {
    clearSelection(table);
    table.pointUsed[slot] = SlotSelected;
}

int countSelected(const PointTable& table) {
    int count = 0;
    forEachSelected(table, [&count](int, const PointRecord&) { ++count; });
    return count;
}

int firstSelected(const PointTable& table) {
    for (int slot = 0; slot < MaxPoints; ++slot) {
        if (table.pointUsed[slot] == SlotSelected) {
            return slot;
        }
    }
    return -1;
}

} // namespace tavo
