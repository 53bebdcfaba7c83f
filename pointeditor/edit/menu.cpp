#include "pointeditor/edit/menu.h"

#include <cstdlib>
#include <optional>
#include <string>

#include "pointeditor/data/block_file.h"
#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/platform.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/edit/selection_box.h"

namespace tavo {
namespace {

// The hit points lie on the "◆" and "▼" marks, 8 pixels right of and below where the text
// column draws each entry. Entry n of the menu is drawn at (600, 40 + 30 (n - 1)), toggle j at
// (600, 360 + 20 j). The ninth menu entry, "◆ -----", has no hit point.
constexpr int HitX = 608;
constexpr int MenuHitY = 48;
constexpr int MenuSpacing = 30;
constexpr int MenuCommands = 8;
constexpr int MenuRadius = 14; // city-block distance below this hits; the diamonds do not touch
constexpr int ToggleHitY = 368;
constexpr int ToggleSpacing = 20;
constexpr int ToggleRadius = 12;

int32_t EditorState::*const Toggles[] = {
    &EditorState::gridLock,      &EditorState::showDirection, &EditorState::showTopView,
    &EditorState::showFrontView, &EditorState::showSideView,
};

const FileFilter BlockFilter{"block data version 1 (bd1)", "*.bd1"};
const FileFilter PointFilter{"point data version 1 (pd1)", "*.pd1"};

bool hits(const EditorState& state, int hitY, int radius) {
    return std::abs(state.mouseX - HitX) + std::abs(state.mouseY - hitY) < radius;
}

void hitTestMenu(EditorState& state) {
    for (int n = 1; n <= MenuCommands; ++n) {
        if (hits(state, MenuHitY + MenuSpacing * (n - 1), MenuRadius)) {
            state.menuMode = n;
            state.boxView = NoPane; // a new command forgets a begun selection box
        }
    }
}

void hitTestToggles(EditorState& state) {
    int j = 0;
    for (auto toggle : Toggles) {
        if (hits(state, ToggleHitY + ToggleSpacing * j, ToggleRadius)) {
            state.*toggle = state.*toggle == 0 ? 1 : 0;
        }
        ++j;
    }
}

void placeNewPoint(EditorState& state) {
    // The click that chose the command lies on the menu, over no pane, so it places nothing.
    if (state.hoverView == NoPane) {
        return;
    }
    addPoint(state, state.cursorX, state.cursorY, state.cursorZ);
    state.menuMode = MenuNone;
}

void clickSelectionBox(EditorState& state) {
    if (state.boxView != NoPane) {
        if (state.hoverView != state.boxView) {
            return; // the begun box waits for a click in its own pane
        }
        bool adding = state.platform != nullptr && state.platform->shiftDown();
        for (int i = 0; i < MaxPoints; ++i) {
            if (!adding && state.pointUsed[i] == SlotSelected) {
                state.pointUsed[i] = SlotUsed;
            }
        }
        for (int i = 0; i < MaxPoints; ++i) {
            if (state.pointUsed[i] != SlotFree && insideSelectionBox(state, state.points[i])) {
                state.pointUsed[i] = SlotSelected;
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
    for (int32_t& used : state.pointUsed) {
        if (used == SlotSelected) {
            used = SlotFree;
        }
    }
}

void loadBlock(EditorState& state) {
    if (state.platform == nullptr) {
        return;
    }
    if (auto path = state.platform->openFileDialog("load block", BlockFilter)) {
        // One box for every texture that did not load, so the author knows why faces are grey.
        auto findings = loadBlockFile(state, *path);
        if (findings && !findings->empty()) {
            state.platform->messageBox(textureReportText(*findings, state.english != 0),
                                       textureReportCaption(state.english != 0), BoxButtons::Ok,
                                       BoxIcon::Warning);
        }
    }
}

void savePoints(EditorState& state) {
    if (state.platform == nullptr) {
        return;
    }
    if (countUsedPoints(state) == 0) {
        state.platform->messageBox("NO POINT", "SAVE", BoxButtons::Ok, BoxIcon::None);
        return;
    }
    if (auto path = state.platform->saveFileDialog("save", PointFilter)) {
        savePointFile(state, *path);
    }
}

void loadPoints(EditorState& state) {
    if (state.platform == nullptr) {
        return;
    }
    // A file that cannot be read leaves the points as they were.
    if (auto path = state.platform->openFileDialog("load", PointFilter)) {
        loadPointFile(state, *path);
    }
}

} // namespace

void addPoint(EditorState& state, float x, float y, float z) {
    for (int i = 0; i < MaxPoints; ++i) {
        if (state.pointUsed[i] == SlotFree) {
            PointRecord& point = state.points[i];
            point.x = x;
            point.y = y;
            point.z = z;
            point.r = 0.0f;
            point.p1 = state.currentParams[0];
            point.p2 = state.currentParams[1];
            point.p3 = state.currentParams[2];
            point.p4 = state.currentParams[3];
            state.pointUsed[i] = SlotUsed;
            return;
        }
    }
    // A full table places nothing, silently.
}

void onLeftButtonDown(EditorState& state) {
    state.clashingIds = 0; // the note of an id clash lasts until the next command
    hitTestMenu(state);
    hitTestToggles(state);
    // The command runs in the same click that chose it, so the commands that act at once need
    // no second click.
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
        loadBlock(state);
        state.menuMode = MenuNone;
        break;
    case MenuSavePoint:
        savePoints(state);
        state.menuMode = MenuNone;
        break;
    case MenuLoadPoint:
        loadPoints(state);
        state.menuMode = MenuNone;
        break;
    default: // MOVE POINT and VIEW act through dragging
        break;
    }
}

} // namespace tavo
