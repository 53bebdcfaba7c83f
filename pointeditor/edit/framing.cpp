#include "pointeditor/edit/framing.h"

#include <algorithm>
#include <cmath>

namespace tavo {

// For now only the pan: the three 2D panes centre on the middle of the points' bounding box.
void frameSelection(EditorState& state) {
    const PointTable& table = state.pointTable;
    const bool anySelected = std::any_of(table.pointUsed.begin(), table.pointUsed.end(),
                                         [](SlotState used) { return used == SlotSelected; });
    bool found = false;
    float low[3] = {}, high[3] = {};
    for (int slot = 0; slot < MaxPoints; ++slot) {
        const SlotState used = table.pointUsed[slot];
        if (used == SlotFree || (anySelected && used != SlotSelected)) {
            continue;
        }
        const PointRecord& p = table.points[slot];
        const float at[3] = {p.x, p.y, p.z};
        if (!std::isfinite(at[0]) || !std::isfinite(at[1]) || !std::isfinite(at[2])) {
            continue;
        }
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = found ? std::min(low[axis], at[axis]) : at[axis];
            high[axis] = found ? std::max(high[axis], at[axis]) : at[axis];
        }
        found = true;
    }
    if (!found) {
        return;
    }
    // panY and panZ are stored negated.
    state.panX = (low[0] + high[0]) / 2.0f;
    state.panY = -(low[1] + high[1]) / 2.0f;
    state.panZ = -(low[2] + high[2]) / 2.0f;
}

} // namespace tavo
