#include "pointeditor/display/draw_frame.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "pointeditor/data/menu_layout.h"
#include "pointeditor/data/name_tables.h"
#include "pointeditor/data/point_kinds.h"
#include "pointeditor/view/render_panes.h"

namespace tavo {
namespace {

// Colours as 0x00BBGGRR.
constexpr uint32_t TextColour = 0x00A05050;    // #5050A0
constexpr uint32_t Background = 0x00C0C0C0;    // the window's own grey
constexpr uint32_t ActiveCommand = 0x00C3C3FF; // #FFC3C3
constexpr uint32_t ToggleOn = 0x00AAFAAA;      // #AAFAAA

// The names below the menu; the two status texts sit above the panes.
constexpr int DetailX = 620;
constexpr int KindY = 480;
constexpr int FirstDetailY = 500;
constexpr int SecondDetailY = 520;
constexpr int ClashY = 540; // the first free row below the detail lines

// The font's cells are 8 pixels wide for an ASCII character and 16 for any other; the window is
// 800 pixels wide.
constexpr int CellWidth = 8;
constexpr int WindowWidth = 800;

// What printf's "%.1f" writes, whatever the C locale says the decimal point is.
std::string oneDecimal(float value) {
    char text[64];
    auto written = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                 std::chars_format::fixed, 1);
    return std::string(text, written.ptr);
}

// Cells a UTF-8 text takes: one for an ASCII byte, two for any other character.
int cellsOf(std::string_view utf8) {
    int cells = 0;
    for (unsigned char byte : utf8) {
        if (byte < 0x80) {
            cells += 1;
        } else if (byte >= 0xC0) {
            cells += 2; // a lead byte; continuation bytes add nothing
        }
    }
    return cells;
}

// The line with spaces up to the window's right edge from x: nothing drawn earlier in that row
// is left standing, however much longer it was.
std::string toRightEdge(int x, std::string line) {
    const int cells = (WindowWidth - x) / CellWidth;
    line.append(static_cast<std::size_t>(std::max(0, cells - cellsOf(line))), ' ');
    return line;
}

// The text column of one frame: the state it shows and the surface it goes to.
struct Column {
    const EditorState& state;
    TextSurface& surface;
};

void text(const Column& column, int x, int y, std::string_view line, uint32_t back = Background) {
    column.surface.drawText(x, y, line, TextColour, back);
}

void nameLine(const Column& column, int x, int y, const NameTable& table, int index) {
    std::optional<std::string_view> name = lookupName(table, index, column.state.english != 0);
    if (name && !name->empty()) {
        text(column, x, y, *name);
    }
}

void drawStatus(const Column& column) {
    const EditorState& state = column.state;
    text(column, 10, 5, "point editor / version 0.7tavo / by kestrune");
    constexpr int ZoomX = 400;
    // With Shift over the 3D pane the line tells where a Shift click would put a point.
    const bool onFace = state.surfaceHit;
    const float x = onFace ? state.surfaceX : state.cursorX;
    const float y = onFace ? state.surfaceY : state.cursorY;
    const float z = onFace ? state.surfaceZ : state.cursorZ;
    text(column, ZoomX, 5,
         toRightEdge(ZoomX, "x" + oneDecimal(state.zoom) + " (" + oneDecimal(x) + "/" +
                                oneDecimal(y) + "/" + oneDecimal(z) + ")"));
}

void drawParameters(const Column& column) {
    const EditorState& state = column.state;
    text(column, MenuColumnX, 310, "CURRENT PARAMETER");
    std::string line;
    for (int8_t param : state.currentParams) {
        line += (line.empty() ? "[" : " [") + std::to_string(param) + "]";
    }
    text(column, MenuColumnX, 330, toRightEdge(MenuColumnX, line));
}

void drawMenu(const Column& column) {
    const EditorState& state = column.state;
    int row = 0;
    for (const MenuRow& entry : MenuRows) {
        bool active = entry.mode != MenuNone && state.menuMode == entry.mode;
        text(column, MenuColumnX, menuRowY(row++), entry.label,
             active ? ActiveCommand : Background);
    }
    row = 0;
    for (const ToggleRow& toggle : ToggleRows) {
        text(column, MenuColumnX, toggleRowY(row++), toggle.label,
             state.*toggle.field == 1 ? ToggleOn : Background);
    }
}

// The kind of the current parameters and what parameters 2 and 3 name for that kind. The
// blank lines come first: the column is never cleared, and a shorter or absent name must not
// leave an earlier frame's text behind.
void drawNames(const Column& column) {
    const EditorState& state = column.state;
    const std::string blank(24, ' ');
    text(column, MenuColumnX, KindY, blank);
    text(column, MenuColumnX, FirstDetailY, blank);
    text(column, MenuColumnX, SecondDetailY, blank);

    const int kind = state.currentParams[0];
    const int second = state.currentParams[1];
    const int third = state.currentParams[2];
    if (kind >= KindHuman && kind <= LastKind) {
        nameLine(column, MenuColumnX, KindY, pointKindNames, kind);
    }
    switch (kind) {
    case KindWeapon:
        nameLine(column, DetailX, FirstDetailY, weaponNames, second);
        break;
    case KindPath:
        nameLine(column, DetailX, FirstDetailY, pathActionNames, second);
        break;
    case KindHumanInfo:
        nameLine(column, DetailX, FirstDetailY, humanTypeNames, second);
        break;
    case KindSmallObject:
        nameLine(column, DetailX, FirstDetailY, smallObjectNames, second);
        break;
    case KindRandomWeapon:
        nameLine(column, DetailX, FirstDetailY, weaponNames, second);
        nameLine(column, DetailX, SecondDetailY, weaponNames, third);
        break;
    default:
        break;
    }
}

// The note of a template key or Insert that gave new points ids already in use, in a row of its
// own; blank otherwise, so that the note goes with the next command.
void drawIdClash(const Column& column) {
    const EditorState& state = column.state;
    std::string note;
    if (state.clashingIds > 0) {
        const std::string id = std::to_string(state.clashingId);
        const std::string more = std::to_string(state.clashingIds - 1);
        if (state.english != 0) {
            note = state.clashingIds == 1 ? "ID " + id + " ALREADY IN USE"
                                          : "ID " + id + " AND " + more + " MORE IN USE";
        } else {
            note = state.clashingIds == 1 ? id + " 番は既に使用中"
                                          : id + " 番ほか " + more + " 個は使用中";
        }
    } else if (state.pointsWithoutFloor > 0) {
        const std::string stayed = std::to_string(state.pointsWithoutFloor);
        note = state.english != 0 ? stayed + " WITH NO FLOOR STAYED" : stayed + " 個は床がなく残留";
    }
    text(column, MenuColumnX, ClashY, toRightEdge(MenuColumnX, note));
}

} // namespace

void drawFrame(const EditorState& state, TextSurface& surface, const FrameTargets* targets) {
    const Column column{state, surface};
    drawStatus(column);
    drawParameters(column);
    drawMenu(column);
    drawIdClash(column);
    drawNames(column);
    if (targets != nullptr) {
        renderPanes(state, *targets);
    }
}

} // namespace tavo
