#include "pointeditor/edit/keyboard.h"

#include <cmath>
#include <string>
#include <utility>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/platform.h"
#include "pointeditor/data/point_kinds.h"
#include "pointeditor/data/selection.h"
#include "pointeditor/edit/link_check.h"
#include "pointeditor/edit/selection_keys.h"
#include "pointeditor/edit/surfaces.h"
#include "pointeditor/edit/templates.h"
#include "pointeditor/edit/virtual_keys.h"
#include "pointeditor/edit/zoom.h"

namespace tavo {
namespace {

constexpr float HeadingStep = 0.3926990f; // pi / 8
constexpr float ZoomStep = 0.1f;
constexpr int PanGridSteps = 10; // one keypad pan moves the view 50 pixels

// Parameters are signed 8-bit values and wrap: 127 + 1 is -128.
void stepParameter(EditorState& state, int index, int delta) {
    state.currentParams[index] = static_cast<int8_t>(state.currentParams[index] + delta);
}

void showBox(EditorState& state, const std::string& text, const char* caption) {
    if (state.platform != nullptr) {
        state.platform->messageBox(text, caption, BoxButtons::Ok, BoxIcon::None);
    }
}

void turnSelection(EditorState& state, float angle) {
    // The heading is not wrapped: it grows or shrinks with every press.
    forEachSelected(state.pointTable, [angle](int, PointRecord& point) { point.r += angle; });
}

void showPointCount(EditorState& state) {
    showBox(state,
            "POINT COUNT " + std::to_string(countUsedPoints(state.pointTable)) + " / " +
                std::to_string(MaxPoints),
            "POINT COUNT");
}

void showSelectedParameters(EditorState& state) {
    forEachSelected(std::as_const(state.pointTable), [&state](int, const PointRecord& p) {
        showBox(state,
                "[" + std::to_string(p.p1) + "] [" + std::to_string(p.p2) + "] [" +
                    std::to_string(p.p3) + "] [" + std::to_string(p.p4) + "]",
                "POINT PARAM");
    });
}

void copyFromSelection(EditorState& state) {
    // Every selected point is copied in slot order, so the highest slot's values remain.
    forEachSelected(std::as_const(state.pointTable), [&state](int, const PointRecord& p) {
        state.currentParams = {p.p1, p.p2, p.p3, p.p4};
    });
}

void applyToSelection(EditorState& state) {
    forEachSelected(state.pointTable, [&state](int, PointRecord& p) {
        p.p1 = state.currentParams[0];
        p.p2 = state.currentParams[1];
        p.p3 = state.currentParams[2];
        p.p4 = state.currentParams[3];
    });
}

// Letter keys that step one of the current parameters: A/Z kind, S/X parameter 2, D/C
// parameter 3, F/V the id number.
struct ParameterKey {
    int key;
    int index;
    int delta;
};
constexpr ParameterKey ParameterKeys[] = {
    {'A', 0, +1}, {'Z', 0, -1}, {'S', 1, +1}, {'X', 1, -1},
    {'D', 2, +1}, {'C', 2, -1}, {'F', 3, +1}, {'V', 3, -1},
};

void parameterAndSelectionKey(EditorState& state, int key) {
    for (const ParameterKey& entry : ParameterKeys) {
        if (entry.key == key) {
            stepParameter(state, entry.index, entry.delta);
            return;
        }
    }
    switch (key) {
    case vk::function(2):
        showPointCount(state);
        break;
    case vk::function(3):
        std::swap(state.zoom, state.savedZoom);
        setZoom(state, state.zoom);
        break;
    case vk::Right:
        turnSelection(state, +HeadingStep);
        break;
    case vk::Left:
        turnSelection(state, -HeadingStep);
        break;
    case vk::Return:
        showSelectedParameters(state);
        break;
    case vk::function(11):
        copyFromSelection(state);
        break;
    case vk::function(12):
        applyToSelection(state);
        break;
    default:
        break;
    }
}

// Keypad 4, 6, 8 and 5 move the view of the 2D pane under the mouse left, right, up and down.
void panWithKeypad(EditorState& state, int key) {
    float d = PanGridSteps * state.gridStep;
    float across = 0.0f;
    float up = 0.0f;
    switch (key) {
    case vk::numpad(4):
        across = -d;
        break;
    case vk::numpad(6):
        across = +d;
        break;
    case vk::numpad(8):
        up = -d;
        break;
    case vk::numpad(5):
        up = +d;
        break;
    default:
        return;
    }
    switch (state.hoverView) {
    case TopPane:
        state.panX += across;
        state.panZ += up;
        break;
    case FrontPane:
        state.panX += across;
        state.panY += up;
        break;
    case SidePane: // panZ is stored negated, so moving right along z lowers it
        state.panZ -= across;
        state.panY += up;
        break;
    default:
        break;
    }
}

void zoomWithKeypad(EditorState& state, int key) {
    if (key == vk::Add) {
        state.zoom += ZoomStep;
    } else if (key == vk::Subtract) {
        state.zoom -= ZoomStep;
    }
    limitZoom(state); // every key passes here, so the grid step always agrees with the zoom
}

float planeDistance(const EditorState& state, const PointRecord& p) {
    switch (state.hoverView) {
    case TopPane:
        return std::hypot(p.x - state.cursorX, p.z - state.cursorZ);
    case FrontPane:
        return std::hypot(p.x - state.cursorX, p.y - state.cursorY);
    default:
        return std::hypot(p.y - state.cursorY, p.z - state.cursorZ);
    }
}

// Keypad 0: selects the point nearest to the cursor in the plane of the 2D pane under the mouse,
// alone, and takes its parameters. Over the 3D pane or no pane there is no plane to measure in.
void selectNearestPoint(EditorState& state) {
    if (state.hoverView < TopPane || state.hoverView > SidePane) {
        return;
    }
    int nearest = -1;
    float nearestDistance = 0.0f;
    for (int i = 0; i < MaxPoints; ++i) {
        if (state.pointTable.pointUsed[i] == SlotFree) {
            continue;
        }
        float distance = planeDistance(state, state.pointTable.points[i]);
        // Strictly smaller only: of equally near points the lowest slot wins.
        if (nearest < 0 || distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    if (nearest < 0) {
        return;
    }
    selectOnly(state.pointTable, nearest);
    const PointRecord& p = state.pointTable.points[nearest];
    state.currentParams = {p.p1, p.p2, p.p3, p.p4};
}

void searchId(EditorState& state) {
    const int8_t id = state.currentParams[3];
    bool found = findPointById(state.pointTable, id) >= 0;
    std::string number = std::to_string(id);
    if (state.english != 0) {
        showBox(state, (found ? "FOUND : " : "NOT FOUND : ") + number, "ID-NUMBER SEARCH");
    } else {
        showBox(state, number + (found ? " 番は既に使用されています" : " 番は未使用です"),
                "識別番号確認");
    }
}

void countHumans(EditorState& state) {
    int humans = 0;
    for (int i = 0; i < MaxPoints; ++i) {
        int8_t kind = state.pointTable.points[i].p1;
        if (state.pointTable.pointUsed[i] != SlotFree && isHumanKind(kind)) {
            ++humans;
        }
    }
    if (state.english != 0) {
        showBox(state, "HUMAN COUNT " + std::to_string(humans), "HUMAN COUNT");
    } else {
        showBox(state, std::to_string(humans) + " 人", "配置人数");
    }
}

void pointKey(EditorState& state, int key) {
    if (key >= vk::digit(1) && key <= vk::digit(7)) {
        placePathTemplate(state, key - vk::Digit0);
        return;
    }
    switch (key) {
    case vk::numpad(0):
        selectNearestPoint(state);
        break;
    case vk::function(9):
        searchId(state);
        break;
    case vk::function(8):
        countHumans(state);
        break;
    case vk::Insert:
        insertPathPoint(state);
        break;
    case vk::digit(0):
        placeParameterSquare(state);
        break;
    case vk::function(5):
        runLinkCheck(state);
        break;
    case vk::End:
        dropSelectionToFloor(state);
        break;
    default:
        break;
    }
}

} // namespace

// Every key passes five stages in order: parameter and selection keys, keypad panning, the
// zoom (whose limits and grid step are applied after any key), the point keys, and the keys
// that select, delete and frame. Only the key code counts, but for Ctrl+A and Ctrl+F, which
// are taken before the letters.
void onKeyDown(EditorState& state, int key) {
    state.clashingIds = 0; // the note of an id clash lasts until the next command
    state.pointsWithoutFloor = 0;
    if (onControlLetter(state, key)) {
        return;
    }
    parameterAndSelectionKey(state, key);
    panWithKeypad(state, key);
    zoomWithKeypad(state, key);
    pointKey(state, key);
    onSelectionKey(state, key);
}

} // namespace tavo
