#include "pointeditor/edit/menu.h"

#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/menu_layout.h"
#include "pointeditor/data/platform.h"
#include "pointeditor/data/selection.h"
#include "pointeditor/edit/document.h"
#include "pointeditor/edit/selection_box.h"
#include "pointeditor/edit/surfaces.h"

namespace tavo {
namespace {

// The row whose mark is nearest the click among those within radius, the upper one of two at
// the same distance; -1 when none is within reach.
int nearestRow(const EditorState& state, int rowCount, int (*rowY)(int), int radius) {
    int nearest = -1;
    int nearestDistance = radius;
    for (int row = 0; row < rowCount; ++row) {
        int distance = std::abs(state.mouseX - (MenuColumnX + MarkOffset)) +
                       std::abs(state.mouseY - (rowY(row) + MarkOffset));
        if (distance < nearestDistance) {
            nearest = row;
            nearestDistance = distance;
        }
    }
    return nearest;
}

void hitTestMenu(EditorState& state) {
    int row = nearestRow(state, static_cast<int>(std::size(MenuRows)), menuRowY, MenuHitRadius);
    if (row >= 0 && MenuRows[row].mode != MenuNone) {
        state.menuMode = MenuRows[row].mode;
        state.boxView = NoPane; // a new command forgets a begun selection box
    }
}

// One click flips at most one switch, though the reaches of neighbouring marks overlap.
void hitTestToggles(EditorState& state) {
    int row =
        nearestRow(state, static_cast<int>(std::size(ToggleRows)), toggleRowY, ToggleHitRadius);
    if (row >= 0) {
        int32_t& toggle = state.*ToggleRows[row].field;
        toggle = toggle == 0 ? 1 : 0;
    }
}

void placeNewPoint(EditorState& state) {
    // The click that chose the command lies on the menu, over no pane, so it places nothing.
    if (state.hoverView == NoPane) {
        return;
    }
    const Vector3 at = newPointPosition(state);
    addPoint(state, at.x, at.y, at.z);
    state.menuMode = MenuNone;
}

void clickSelectionBox(EditorState& state) {
    if (state.boxView != NoPane) {
        if (state.hoverView != state.boxView) {
            return; // the begun box waits for a click in its own pane
        }
        bool adding = state.platform != nullptr && state.platform->shiftDown();
        if (!adding) {
            clearSelection(state.pointTable);
        }
        for (int i = 0; i < MaxPoints; ++i) {
            if (state.pointTable.pointUsed[i] != SlotFree &&
                insideSelectionBox(state, state.pointTable.points[i])) {
                state.pointTable.pointUsed[i] = SlotSelected;
            }
        }
        state.boxView = NoPane;
        return;
    }
    if (state.hoverView == PerspectivePane) {
        return; // the 3D pane holds no box
    }
    // Over no pane this leaves boxView at 0: no box begun.
    state.boxView = state.hoverView;
    state.boxStartX = state.cursorX;
    state.boxStartY = state.cursorY;
    state.boxStartZ = state.cursorZ;
}

void deleteSelection(EditorState& state) {
    if (state.platform == nullptr) {
        return; // nobody to confirm with: delete nothing
    }
    BoxAnswer answer =
        state.platform->messageBox("DELETE OK?", "DELETE", BoxButtons::OkCancel, BoxIcon::Question);
    if (answer != BoxAnswer::Ok) {
        return;
    }
    // The records stay as they are; a freed slot is overwritten when it is used again.
    forEachSelected(state.pointTable, [&state](int slot, PointRecord&) {
        state.pointTable.pointUsed[slot] = SlotFree;
    });
}

} // namespace

void addPoint(EditorState& state, float x, float y, float z) {
    for (int i = 0; i < MaxPoints; ++i) {
        if (state.pointTable.pointUsed[i] == SlotFree) {
            PointRecord& point = state.pointTable.points[i];
            point.x = x;
            point.y = y;
            point.z = z;
            point.r = 0.0f;
            point.p1 = state.currentParams[0];
            point.p2 = state.currentParams[1];
            point.p3 = state.currentParams[2];
            point.p4 = state.currentParams[3];
            state.pointTable.pointUsed[i] = SlotUsed;
            return;
        }
    }
    // A full table places nothing, silently.
}

void clickMenu(EditorState& state) {
    hitTestMenu(state);
    hitTestToggles(state);
}

void runMenuCommand(EditorState& state) {
    switch (state.menuMode) {
    case MenuNewPoint:
        placeNewPoint(state);
        break;
    case MenuSelectPoint:
        clickSelectionBox(state);
        break;
    // These four end within the click. The mode is cleared only after their box or dialog has
    // closed, so the frames drawn while it is open show the entry highlighted.
    case MenuDeletePoint:
        deleteSelection(state);
        state.menuMode = MenuNone;
        break;
    case MenuLoadBlock:
        runFileCommand(state, FileCommand::LoadBlock);
        break;
    case MenuSavePoint:
        runFileCommand(state, FileCommand::SavePoint);
        break;
    case MenuLoadPoint:
        runFileCommand(state, FileCommand::LoadPoint);
        break;
    default: // MOVE POINT and VIEW act through dragging
        break;
    }
}

} // namespace tavo
