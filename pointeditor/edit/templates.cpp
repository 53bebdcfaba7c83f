#include "pointeditor/edit/templates.h"

#include <array>
#include <cstdint>
#include <span>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/point_kinds.h"
#include "pointeditor/data/selection.h"
#include "pointeditor/edit/menu.h"

namespace tavo {
namespace {

constexpr int Walk = 0;
constexpr int Run = 1;
constexpr int Wait = 2;

// One point of a template. Ids are offsets from the first id n. A PATH point's p2 is its
// action and p3 the id it goes on to; a RANDOM PATH point's p2 and p3 are both ids.
struct TemplatePoint {
    float dx;
    float dz;
    int8_t kind;
    int p2;
    int p3;
    int id;
};

constexpr TemplatePoint WaitingPost[] = {
    {0, 0, KindPath, Wait, 0, 0},
};
constexpr TemplatePoint WalkPair[] = {
    {+10, 0, KindPath, Walk, 1, 0},
    {-10, 0, KindPath, Walk, 0, 1},
};
constexpr TemplatePoint WalkSquare[] = {
    {+10, +10, KindPath, Walk, 1, 0},
    {-10, +10, KindPath, Walk, 2, 1},
    {-10, -10, KindPath, Walk, 3, 2},
    {+10, -10, KindPath, Walk, 0, 3},
};
constexpr TemplatePoint WalkHexagon[] = {
    {+10, +10, KindPath, Walk, 1, 0}, {0, +10, KindPath, Walk, 2, 1},
    {-10, +10, KindPath, Walk, 3, 2}, {-10, -10, KindPath, Walk, 4, 3},
    {0, -10, KindPath, Walk, 5, 4},   {+10, -10, KindPath, Walk, 0, 5},
};
constexpr TemplatePoint ShortRun[] = {
    {0, -15, KindPath, Run, 1, 0},
    {0, -5, KindPath, Run, 2, 1},
    {0, +5, KindPath, Run, 3, 2},
    {0, +15, KindPath, Wait, 3, 3},
};
constexpr TemplatePoint LongRun[] = {
    {0, -35, KindPath, Run, 1, 0}, {0, -25, KindPath, Run, 2, 1},  {0, -15, KindPath, Run, 3, 2},
    {0, -5, KindPath, Run, 4, 3},  {0, +5, KindPath, Run, 5, 4},   {0, +15, KindPath, Run, 6, 5},
    {0, +25, KindPath, Run, 7, 6}, {0, +35, KindPath, Wait, 7, 7},
};
constexpr TemplatePoint RandomTree[] = {
    {0, -10, KindRandomPath, 1, 2, 0}, {-5, 0, KindRandomPath, 3, 4, 1},
    {+5, 0, KindRandomPath, 5, 6, 2},  {-15, +10, KindPath, Wait, 3, 3},
    {-5, +10, KindPath, Wait, 4, 4},   {+5, +10, KindPath, Wait, 5, 5},
    {+15, +10, KindPath, Wait, 6, 6},
};

constexpr std::span<const TemplatePoint> Templates[] = {
    WaitingPost, WalkPair, WalkSquare, WalkHexagon, ShortRun, LongRun, RandomTree,
};

// Id arithmetic wraps in 8 bits: 127 + 1 is -128.
int8_t idAfter(int8_t first, int offset) {
    return static_cast<int8_t>(first + offset);
}

int lowestSelectedSlot(const EditorState& state) {
    return firstSelected(state.pointTable);
}

// Notes the ids of the points a command placed that points in use before it already had.
// `usedBefore` is pointUsed as it was before the command.
void noteClashingIds(EditorState& state, const std::array<SlotState, MaxPoints>& usedBefore) {
    std::array<bool, 256> heldBefore{};
    for (int i = 0; i < MaxPoints; ++i) {
        if (usedBefore[i] != SlotFree) {
            heldBefore[static_cast<uint8_t>(state.pointTable.points[i].p4)] = true;
        }
    }
    std::array<bool, 256> noted{};
    state.clashingIds = 0;
    for (int i = 0; i < MaxPoints; ++i) {
        const auto id = static_cast<uint8_t>(state.pointTable.points[i].p4);
        const bool placed = usedBefore[i] == SlotFree && state.pointTable.pointUsed[i] != SlotFree;
        if (placed && heldBefore[id] && !noted[id]) {
            noted[id] = true;
            if (state.clashingIds++ == 0) {
                state.clashingId = state.pointTable.points[i].p4;
            }
        }
    }
}

bool tableFull(const EditorState& state) {
    return countUsedPoints(state.pointTable) == MaxPoints;
}

} // namespace

void placePathTemplate(EditorState& state, int number) {
    if (number < 1 || number > static_cast<int>(std::size(Templates))) {
        return;
    }
    std::span<const TemplatePoint> layout = Templates[number - 1];
    const auto usedBefore = state.pointTable.pointUsed;
    const int8_t first = state.currentParams[3];
    for (const TemplatePoint& point : layout) {
        // addPoint takes the parameters from currentParams, so each point sets them first;
        // the last point's parameters are what the template leaves behind.
        state.currentParams[0] = point.kind;
        state.currentParams[1] =
            point.kind == KindRandomPath ? idAfter(first, point.p2) : static_cast<int8_t>(point.p2);
        state.currentParams[2] = idAfter(first, point.p3);
        state.currentParams[3] = idAfter(first, point.id);
        addPoint(state, state.cursorX + point.dx, state.cursorY, state.cursorZ + point.dz);
    }
    state.currentParams[3] = idAfter(first, static_cast<int>(layout.size()));
    noteClashingIds(state, usedBefore);
}

void placeParameterSquare(EditorState& state) {
    constexpr float Corners[4][2] = {{+5, +5}, {-5, +5}, {-5, -5}, {+5, -5}};
    const auto usedBefore = state.pointTable.pointUsed;
    for (const auto& corner : Corners) {
        addPoint(state, state.cursorX + corner[0], state.cursorY, state.cursorZ + corner[1]);
    }
    noteClashingIds(state, usedBefore);
}

void insertPathPoint(EditorState& state) {
    int s = lowestSelectedSlot(state);
    if (s < 0) {
        return;
    }
    int t = findPointById(state.pointTable, state.pointTable.points[s].p3);
    // Without a target there is no midpoint; with a full table S would be relinked to a point
    // that was never placed. Either way the path is left as it is.
    if (t < 0 || tableFull(state)) {
        return;
    }
    const PointRecord& from = state.pointTable.points[s];
    const PointRecord& to = state.pointTable.points[t];
    float x = (to.x + from.x) * 0.5f;
    float y = (to.y + from.y) * 0.5f;
    float z = (to.z + from.z) * 0.5f;

    const auto usedBefore = state.pointTable.pointUsed;
    int8_t rememberedP3 = state.currentParams[2];
    state.currentParams[2] = from.p3; // the new point goes on to S's old target
    addPoint(state, x, y, z);
    noteClashingIds(state, usedBefore);
    state.pointTable.pointUsed[s] = SlotUsed;
    state.pointTable.points[s].p3 = state.currentParams[3];
    state.currentParams[2] = rememberedP3;
}

} // namespace tavo
