#include "pointeditor/display/draw_frame.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "pointeditor/data/name_tables.h"
#include "pointeditor/data/platform.h"
#include "pointeditor/view/render_panes.h"

namespace tavo {
namespace {

// Colours as 0x00BBGGRR.
constexpr uint32_t kTextColour = 0x00A05050;    // #5050A0
constexpr uint32_t kBackground = 0x00C0C0C0;    // the window's own grey
constexpr uint32_t kActiveCommand = 0x00C3C3FF; // #FFC3C3
constexpr uint32_t kToggleOn = 0x00AAFAAA;      // #AAFAAA

// The text column lies right of the panes; the two status texts sit above them.
constexpr int kColumnX = 600;
constexpr int kDetailX = 620;
constexpr int kMenuY = 40;
constexpr int kMenuSpacing = 30;
constexpr int kToggleY = 360;
constexpr int kToggleSpacing = 20;
constexpr int kKindY = 480;
constexpr int kFirstDetailY = 500;
constexpr int kSecondDetailY = 520;
constexpr int kClashY = 540; // the first free row below the detail lines

// The font's cells are 8 pixels wide for an ASCII character and 16 for any other; the window is
// 800 pixels wide.
constexpr int kCellWidth = 8;
constexpr int kWindowWidth = 800;

constexpr int kMenuCommands = 8;
constexpr std::string_view kMenuEntries[] = {
    "◆ NEW POINT",  "◆ SELECT POINT", "◆ MOVE POINT", "◆ DELETE POINT", "◆ VIEW",
    "◆ LOAD BLOCK", "◆ SAVE POINT",   "◆ LOAD POINT", "◆ -----",
};

struct Toggle {
    std::string_view text;
    int32_t EditorState::*field;
};

const Toggle kToggles[] = {
    {"▼ GRID LOCK", &EditorState::gridLock},     {"▼ DIRECTION", &EditorState::showDirection},
    {"▼ TOP VIEW", &EditorState::showTopView},   {"▼ FRONT VIEW", &EditorState::showFrontView},
    {"▼ SIDE VIEW", &EditorState::showSideView},
};

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
    const int cells = (kWindowWidth - x) / kCellWidth;
    line.append(static_cast<std::size_t>(std::max(0, cells - cellsOf(line))), ' ');
    return line;
}

void text(EditorState& state, int x, int y, std::string_view line, uint32_t back = kBackground) {
    state.platform->drawText(x, y, line, kTextColour, back);
}

void nameLine(EditorState& state, int x, int y, const NameTable& table, int index) {
    std::optional<std::string_view> name = lookupName(table, index, state.english != 0);
    if (name && !name->empty()) {
        text(state, x, y, *name);
    }
}

void drawStatus(EditorState& state) {
    text(state, 10, 5, "point editor / version 0.7tavo / by kestrune");
    constexpr int kZoomX = 400;
    text(state, kZoomX, 5,
         toRightEdge(kZoomX, "x" + oneDecimal(state.zoom) + " (" + oneDecimal(state.cursorX) + "/" +
                                 oneDecimal(state.cursorY) + "/" + oneDecimal(state.cursorZ) +
                                 ")"));
}

void drawParameters(EditorState& state) {
    text(state, kColumnX, 310, "CURRENT PARAMETER");
    std::string line;
    for (int8_t param : state.currentParams) {
        line += (line.empty() ? "[" : " [") + std::to_string(param) + "]";
    }
    text(state, kColumnX, 330, toRightEdge(kColumnX, line));
}

void drawMenu(EditorState& state) {
    // The ninth entry has no command and is never marked.
    int n = 1;
    for (std::string_view entry : kMenuEntries) {
        bool active = state.menuMode == n && n <= kMenuCommands;
        text(state, kColumnX, kMenuY + kMenuSpacing * (n - 1), entry,
             active ? kActiveCommand : kBackground);
        ++n;
    }
    int j = 0;
    for (const Toggle& toggle : kToggles) {
        text(state, kColumnX, kToggleY + kToggleSpacing * j, toggle.text,
             state.*toggle.field == 1 ? kToggleOn : kBackground);
        ++j;
    }
}

// The kind of the current parameters and what parameters 2 and 3 name for that kind. The
// blank lines come first: the column is never cleared, and a shorter or absent name must not
// leave an earlier frame's text behind.
void drawNames(EditorState& state) {
    const std::string blank(24, ' ');
    text(state, kColumnX, kKindY, blank);
    text(state, kColumnX, kFirstDetailY, blank);
    text(state, kColumnX, kSecondDetailY, blank);

    constexpr int kWeapon = 2, kPath = 3, kHumanInfo = 4, kSmallObject = 5, kRandomWeapon = 7;
    const int kind = state.currentParams[0];
    const int second = state.currentParams[1];
    const int third = state.currentParams[2];
    if (kind >= 1 && kind <= 19) {
        nameLine(state, kColumnX, kKindY, pointKindNames, kind);
    }
    switch (kind) {
    case kWeapon:
        nameLine(state, kDetailX, kFirstDetailY, weaponNames, second);
        break;
    case kPath:
        nameLine(state, kDetailX, kFirstDetailY, pathActionNames, second);
        break;
    case kHumanInfo:
        nameLine(state, kDetailX, kFirstDetailY, humanTypeNames, second);
        break;
    case kSmallObject:
        nameLine(state, kDetailX, kFirstDetailY, smallObjectNames, second);
        break;
    case kRandomWeapon:
        nameLine(state, kDetailX, kFirstDetailY, weaponNames, second);
        nameLine(state, kDetailX, kSecondDetailY, weaponNames, third);
        break;
    default:
        break;
    }
}

// The note of a template key or Insert that gave new points ids already in use, in a row of its
// own; blank otherwise, so that the note goes with the next command.
void drawIdClash(EditorState& state) {
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
    }
    text(state, kColumnX, kClashY, toRightEdge(kColumnX, note));
}

} // namespace

void drawFrame(EditorState& state) {
    // Frames before the window exists draw nothing.
    if (state.platform == nullptr) {
        return;
    }
    drawStatus(state);
    drawParameters(state);
    drawMenu(state);
    drawIdClash(state);
    drawNames(state);
    if (state.device != nullptr) {
        renderPanes(state);
    }
}

} // namespace tavo
