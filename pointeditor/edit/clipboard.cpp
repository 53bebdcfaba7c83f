#include "pointeditor/edit/clipboard.h"

#include <algorithm>
#include <array>
#include <optional>

#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_links.h"
#include "pointeditor/data/point_text_form.h"
#include "pointeditor/data/selection.h"
#include "pointeditor/edit/mouse.h"

namespace tavo {
namespace {

// Ids are signed bytes; tables indexed by id use the byte's 256 values.
std::size_t idIndex(int8_t id) {
    return static_cast<uint8_t>(id);
}

// The lowest id not taken: the positive ids are the ones authors number with, so they come
// first. In the order of the id's byte, 0..255, that is 0..127 and then -128..-1. There is one
// as long as the table and the points together hold no more points than fit into a table.
int8_t lowestFreeId(const std::array<bool, 256>& taken) {
    std::size_t free = 0;
    while (taken.at(free)) {
        ++free;
    }
    return static_cast<int8_t>(free);
}

// The clipboard's exact form, when it holds at least one whole record and nothing else.
std::optional<std::vector<PointRecord>> exactPoints(std::span<const uint8_t> bytes) {
    PointFileContents contents = decodePointFile(bytes);
    const std::size_t count = contents.records.size();
    if (count == 0 || contents.declaredCount != static_cast<int>(count) ||
        bytes.size() != PointCountSize + count * PointRecordSize) {
        return std::nullopt;
    }
    return std::move(contents.records);
}

float& coordinate(PointRecord& point, int axis) {
    return axis == 0 ? point.x : axis == 1 ? point.y : point.z;
}

void tell(EditorState& state, const std::string& text, const char* englishCaption,
          const char* japaneseCaption) {
    if (state.platform != nullptr) {
        state.platform->messageBox(text, state.english != 0 ? englishCaption : japaneseCaption,
                                   BoxButtons::Ok, BoxIcon::Warning);
    }
}

struct Captions {
    const char* english;
    const char* japanese;
};
constexpr Captions PasteCaptions{"PASTE", "貼り付け"};
constexpr Captions DuplicateCaptions{"DUPLICATE", "複製"};

// Renumbers the copies and adds them as the selection, or says why they do not fit.
void addCopies(EditorState& state, std::vector<PointRecord> points, Captions captions) {
    const int total = countUsedPoints(state.pointTable) + static_cast<int>(points.size());
    if (total <= MaxPoints) {
        renumberAgainst(state.pointTable, points);
        insertAsSelection(state.pointTable, points);
        return;
    }
    const std::string added = std::to_string(points.size());
    const std::string limit = std::to_string(MaxPoints);
    const std::string made = std::to_string(total);
    tell(state,
         state.english != 0 ? added + " POINTS WOULD MAKE " + made + ", MORE THAN " + limit +
                                  ".\nNOTHING WAS ADDED."
                            : added + " 個を加えると " + made + " 個になり、" + limit +
                                  " 個を超えます。\n何も追加していません。",
         captions.english, captions.japanese);
}

} // namespace

std::vector<PointRecord> selectedPoints(const PointTable& table) {
    std::vector<PointRecord> points;
    forEachSelected(table, [&points](int, const PointRecord& point) { points.push_back(point); });
    return points;
}

Result<std::vector<PointRecord>, std::string> clipboardPoints(const ClipboardContents& contents) {
    if (contents.points) {
        if (auto exact = exactPoints(*contents.points)) {
            return std::move(*exact);
        }
    }
    if (!contents.text) {
        return std::string("the clipboard holds no text");
    }
    auto parsed = parsePointText(*contents.text);
    if (!parsed) {
        const TextError& first = parsed.error().kept.front();
        return "line " + std::to_string(first.line) + ": " + first.message;
    }
    if (parsed->empty()) {
        return std::string("the text names no point");
    }
    return std::move(*parsed);
}

void placeAtCursor(const EditorState& state, std::vector<PointRecord>& points) {
    // The two axes each 2D pane shows.
    std::array<int, 2> axes{};
    switch (state.hoverView) {
    case TopPane:
        axes = {0, 2};
        break;
    case FrontPane:
        axes = {0, 1};
        break;
    case SidePane:
        axes = {2, 1};
        break;
    default:
        return;
    }
    if (points.empty()) {
        return;
    }
    const std::array<float, 3> cursor{state.cursorX, state.cursorY, state.cursorZ};
    for (int axis : axes) {
        const auto [low, high] =
            std::minmax_element(points.begin(), points.end(), [axis](PointRecord a, PointRecord b) {
                return coordinate(a, axis) < coordinate(b, axis);
            });
        const float centre = (coordinate(*low, axis) + coordinate(*high, axis)) * 0.5f;
        float target = cursor[static_cast<std::size_t>(axis)];
        if (state.gridLock == 1) {
            target = roundHalfAway(target / state.gridStep) * state.gridStep;
        }
        const float shift = target - centre;
        for (PointRecord& point : points) {
            coordinate(point, axis) += shift;
        }
    }
}

void renumberAgainst(const PointTable& table, std::vector<PointRecord>& points) {
    std::array<bool, 256> taken{};
    for (int slot = 0; slot < MaxPoints; ++slot) {
        if (table.pointUsed[slot] != SlotFree) {
            taken[idIndex(table.points[slot].p4)] = true;
        }
    }
    // A point keeps its id where the table does not have it; only the others move, onto ids
    // that neither the table nor the points kept use.
    std::array<bool, 256> clashing{};
    for (const PointRecord& point : points) {
        clashing[idIndex(point.p4)] = taken[idIndex(point.p4)];
    }
    for (const PointRecord& point : points) {
        taken[idIndex(point.p4)] = true;
    }
    std::array<std::optional<int8_t>, 256> renumbered{};
    for (const PointRecord& point : points) {
        std::optional<int8_t>& to = renumbered[idIndex(point.p4)];
        if (clashing[idIndex(point.p4)] && !to) {
            to = lowestFreeId(taken);
            taken[idIndex(*to)] = true;
        }
    }
    for (PointRecord& point : points) {
        for (const PointLink& link : linksOf(point)) {
            if (const auto& to = renumbered[idIndex(link.id)]) {
                (link.param == 2 ? point.p2 : point.p3) = *to;
            }
        }
        if (const auto& to = renumbered[idIndex(point.p4)]) {
            point.p4 = *to;
        }
    }
}

void insertAsSelection(PointTable& table, std::span<const PointRecord> points) {
    clearSelection(table);
    auto next = points.begin();
    for (int slot = 0; slot < MaxPoints && next != points.end(); ++slot) {
        if (table.pointUsed[slot] == SlotFree) {
            table.points[slot] = *next++;
            table.pointUsed[slot] = SlotSelected;
        }
    }
}

void copySelection(EditorState& state) {
    const std::vector<PointRecord> points = selectedPoints(state.pointTable);
    if (points.empty() || state.platform == nullptr) {
        return;
    }
    state.platform->setClipboard(writePointText(points), encodePointFile(points));
}

void cutSelection(EditorState& state) {
    if (state.platform == nullptr) {
        return; // no clipboard to keep them: delete nothing
    }
    copySelection(state);
    forEachSelected(state.pointTable, [&state](int slot, PointRecord&) {
        state.pointTable.pointUsed[slot] = SlotFree;
    });
}

void pasteClipboard(EditorState& state) {
    if (state.platform == nullptr) {
        return;
    }
    auto points = clipboardPoints(state.platform->clipboard());
    if (!points) {
        tell(state,
             (state.english != 0 ? "THE CLIPBOARD HOLDS NO POINTS.\n"
                                 : "クリップボードにポイントがありません。\n") +
                 points.error(),
             PasteCaptions.english, PasteCaptions.japanese);
        return;
    }
    placeAtCursor(state, *points);
    addCopies(state, std::move(*points), PasteCaptions);
}

void duplicateSelection(EditorState& state) {
    std::vector<PointRecord> points = selectedPoints(state.pointTable);
    if (points.empty()) {
        return;
    }
    for (PointRecord& point : points) {
        point.x += state.gridStep;
        point.z += state.gridStep;
    }
    addCopies(state, std::move(points), DuplicateCaptions);
}

} // namespace tavo
