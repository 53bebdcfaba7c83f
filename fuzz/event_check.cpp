// Hostile event sequences through the point editor's own message dispatch, on a start state that
// a points file and the window could leave: mouse moves and buttons, keys, menu clicks, undo and
// redo, each message an undo step as in the window, with every box and file dialog answered from
// the input. The state's invariants hold after every event and in
// every box.

#include <array>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include "fuzz/checking_device.h"
#include "fuzz/reader_checks.h"
#include "pointeditor/data/menu_layout.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_load.h"
#include "pointeditor/display/draw_frame.h"
#include "pointeditor/edit/document.h"
#include "pointeditor/edit/edit_session.h"
#include "pointeditor/edit/message_dispatch.h"
#include "pointeditor/edit/zoom.h"
#include "pointeditor/view/pane_redraw.h"
#include "pointeditor/view/point_markers.h"
#include "samples/sample_mission.h"
#include "tests/support/fake_platform.h"
#include "tests/support/scratch_directory.h"

namespace tavo::fuzz {
namespace {

constexpr float MinPitch = 0.017453289f; // the camera's limits in mouse.cpp
constexpr float MaxPitch = 3.1241386f;

// between: no handler is running; then the commands that end within their click are over.
void checkState(const EditorState& state, bool between) {
    for (int32_t used : state.pointTable.pointUsed) {
        requireWithin("a slot state", used, SlotFree, SlotSelected);
    }
    requireWithin("menuMode", state.menuMode, MenuNone, between ? MenuView : MenuLoadPoint);
    requireWithin("zoom", state.zoom, MinZoom, MaxZoom);
    requireWithin("savedZoom", state.savedZoom, MinZoom, MaxZoom);
    requireWithin("gridStep", state.gridStep, 5.0f / state.zoom, 5.0f / state.zoom);
    requireWithin("hoverView", state.hoverView, NoPane, PerspectivePane);
    requireWithin("prevHoverView", state.prevHoverView, NoPane, PerspectivePane);
    requireWithin("boxView", state.boxView, NoPane, SidePane); // the 3D pane holds no box
    requireWithin("link lines", buildLinkLines(state).count, 0, MaxLinkLines);
    requireWithin("clashingIds", state.clashingIds, 0, MaxPoints);
    requireWithin("cameraPitch", state.cameraPitch, MinPitch, MaxPitch);
    requireWithin("mouseX", state.mouseX, 0, 0xFFFF);
    requireWithin("mouseY", state.mouseY, 0, 0xFFFF);
    for (const ToggleRow& toggle : ToggleRows) {
        requireWithin(toggle.label.data(), state.*toggle.field, 0, 1);
    }
}

} // namespace

void checkEventSequence(std::span<const uint8_t> bytes) {
    static const testing::ScratchDirectory directory;
    constexpr std::size_t HeaderSize = 13, EventSize = 6;
    if (bytes.size() < HeaderSize) {
        return;
    }
    const std::size_t pointBytes =
        std::min<std::size_t>(bytes[11] | bytes[12] << 8, bytes.size() - HeaderSize);
    const std::string points = directory.write("points.pd1", bytes.subspan(HeaderSize, pointBytes));
    const std::string map =
        directory.write("map.bd1", sample::encodeBlockFile({"missing.bmp"}, {}));
    const std::string& dir = directory.path();
    const std::optional<std::string> choices[] = {std::nullopt, points, dir + "/saved.pd1",
                                                  map,          dir,    dir + "/none/none.pd1"};
    std::filesystem::remove(*choices[2]);

    auto state = std::make_unique<EditorState>();
    testing::FakePlatform platform;
    CheckingDevice device(*state);
    RetainedPanes retained;
    const uint8_t switches = bytes[0];
    const FrameTargets targets{device, (switches & 0x40) != 0 ? &retained : nullptr};
    EditSession edits(
        *state, editorHandlers([&](const EditorState& s) { drawFrame(s, platform, &targets); }));
    state->platform = &platform;
    state->textureLoader = &device;
    state->english = switches & 1;
    int bit = 1;
    for (const ToggleRow& toggle : ToggleRows) {
        (*state).*toggle.field = (switches >> bit++) & 1;
    }
    // Opened as from the command line, or unsaved as the points of a recovery file.
    FUZZ_REQUIRE((switches & 0x80) != 0 ? loadPointFile(*state, points).ok()
                                        : openPointFile(*state, points));
    constexpr int32_t LastingModes[] = {MenuNone, MenuNewPoint, MenuSelectPoint, MenuMovePoint,
                                        MenuView};
    state->menuMode = LastingModes[bytes[1] % std::size(LastingModes)];
    setZoom(*state, static_cast<float>(1 + bytes[2] % 100) / 10.0f);
    for (int i = 0; i < MaxPoints; ++i) {
        if (state->pointTable.pointUsed[i] == SlotUsed && ((bytes[3] >> (i % 8)) & 1) != 0) {
            state->pointTable.pointUsed[i] = SlotSelected;
        }
    }
    std::memcpy(state->currentParams.data(), &bytes[4], 4);
    float* pans[] = {&state->panX, &state->panY, &state->panZ}; // in steps of the keypad's pan
    for (int i = 0; i < 3; ++i) {
        *pans[i] = static_cast<float>(static_cast<int8_t>(bytes[8 + i])) * 10.0f * state->gridStep;
    }

    std::array<bool, 2> held{}; // left, right
    auto button = [&](int which, bool down) {
        if (held[which] != down) {
            held[which] = down;
            const auto mouseButton = which == 0 ? MouseButton::Left : MouseButton::Right;
            down ? edits.buttonDown(mouseButton, held[0] || held[1])
                 : edits.buttonUp(mouseButton, held[0] || held[1]);
        }
    };
    auto move = [&](int x, int y) { edits.mouseMove(x, y, held[0], held[1]); };
    platform.whileModal = [&] { // the window redraws as a box or dialog comes up
        edits.frame();
        checkState(*state, false);
    };
    for (std::size_t at = HeaderSize + pointBytes; at + EventSize <= bytes.size();
         at += EventSize) {
        const uint8_t a = bytes[at + 1];
        const auto x = static_cast<int16_t>(bytes[at + 2] | bytes[at + 3] << 8);
        const auto y = static_cast<int16_t>(bytes[at + 4] | bytes[at + 5] << 8);
        platform.boxAnswers = {BoxAnswer(bytes[at + 2] % 6), BoxAnswer(bytes[at + 3] % 6)};
        platform.dialogAnswers = {choices[bytes[at + 4] % 6], choices[bytes[at + 5] % 6]};
        platform.shift = (a & 0x80) != 0;
        platform.texts.clear();
        const int kind = bytes[at] % 6;
        if (kind == 0) {
            move(x, y);
        } else if (kind <= 2) {
            button(a & 1, kind == 1);
        } else if (kind == 3) {
            edits.keyDown(a, held[0] || held[1]);
        } else if (kind == 4) { // a click near a menu row's or a toggle's mark
            const int row = a % 14;
            move(MenuColumnX + MarkOffset + x % 8,
                 (row < 9 ? menuRowY(row) : toggleRowY(row - 9)) + MarkOffset + y % 8);
            button(0, true);
            button(0, false);
        } else if (!held[0] && !held[1]) { // undo or redo: the session takes them before any key
            const PointTable before = state->pointTable;
            if ((a & 1) == 0 ? edits.undo(false) : edits.redo(false)) {
                FUZZ_REQUIRE(!sameUsedPoints(before, state->pointTable)); // no empty steps
            }
            edits.frame();
        }
        FUZZ_REQUIRE(!edits.inMessage());
        checkState(*state, true);
    }
}

} // namespace tavo::fuzz
