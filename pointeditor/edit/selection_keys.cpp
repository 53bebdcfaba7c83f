#include "pointeditor/edit/selection_keys.h"

#include <algorithm>
#include <optional>
#include <string>

#include "pointeditor/data/platform.h"
#include "pointeditor/data/selection.h"
#include "pointeditor/edit/framing.h"
#include "pointeditor/edit/menu.h"
#include "pointeditor/edit/virtual_keys.h"

namespace tavo {
namespace {

constexpr int LowestId = -128;
constexpr int HighestId = 127;

bool controlHeld(const EditorState& state) {
    return state.platform != nullptr && state.platform->controlDown();
}

void selectEveryPoint(PointTable& table) {
    for (SlotState& used : table.pointUsed) {
        if (used != SlotFree) {
            used = SlotSelected;
        }
    }
}

// Escape: a begun box goes first; only with none does the selection go.
void dropBoxOrSelection(EditorState& state) {
    if (state.boxView != NoPane) {
        state.boxView = NoPane;
    } else {
        clearSelection(state.pointTable);
    }
}

// Delete is the DELETE POINT command, question included, while it shows that command
// highlighted; the command under way goes on after it.
void deleteWithKey(EditorState& state) {
    if (countSelected(state.pointTable) == 0) {
        return;
    }
    const int32_t mode = state.menuMode;
    state.menuMode = MenuDeletePoint;
    runMenuCommand(state);
    state.menuMode = mode;
}

void sayIdNotFound(EditorState& state, int id) {
    const std::string number = std::to_string(id);
    if (state.english != 0) {
        state.platform->messageBox("NOT FOUND : " + number, "ID-NUMBER SEARCH", BoxButtons::Ok,
                                   BoxIcon::None);
    } else {
        state.platform->messageBox(number + " 番は未使用です", "識別番号確認", BoxButtons::Ok,
                                   BoxIcon::None);
    }
}

// Ctrl+F: every point with the id number asked for becomes the selection, and the views go to
// them; with none, the selection stays and a box says so.
void findById(EditorState& state) {
    if (state.platform == nullptr) {
        return;
    }
    const bool english = state.english != 0;
    const std::optional<int> asked =
        state.platform->askInteger(english ? "ID NUMBER (-128 to 127)" : "識別番号（-128 ～ 127）",
                                   english ? "FIND BY ID-NUMBER" : "識別番号で検索",
                                   state.currentParams[3], LowestId, HighestId);
    if (!asked) {
        return;
    }
    const int id = std::clamp(*asked, LowestId, HighestId);
    PointTable& table = state.pointTable;
    if (findPointById(table, static_cast<int8_t>(id)) < 0) {
        sayIdNotFound(state, id);
        return;
    }
    clearSelection(table);
    for (int slot = 0; slot < MaxPoints; ++slot) {
        if (table.pointUsed[slot] != SlotFree && table.points[slot].p4 == id) {
            table.pointUsed[slot] = SlotSelected;
        }
    }
    frameSelection(state);
}

} // namespace

bool onControlLetter(EditorState& state, int key) {
    if (!controlHeld(state)) {
        return false;
    }
    if (key == vk::letter('A')) {
        selectEveryPoint(state.pointTable);
    } else if (key == vk::letter('F')) {
        findById(state);
    } else {
        return false;
    }
    return true;
}

void onSelectionKey(EditorState& state, int key) {
    switch (key) {
    case vk::Escape:
        dropBoxOrSelection(state);
        break;
    case vk::Delete:
        deleteWithKey(state);
        break;
    case vk::Home:
        frameSelection(state);
        break;
    default:
        break;
    }
}

} // namespace tavo
