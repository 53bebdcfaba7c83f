// A map and its points, both read from hostile files, drawn as one frame of the point editor:
// the text column and the four panes, through a device that draws nothing but checks every call.

#include <algorithm>
#include <memory>

#include "fuzz/check.h"
#include "fuzz/checking_device.h"
#include "fuzz/reader_checks.h"
#include "pointeditor/data/block_file.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_load.h"
#include "pointeditor/display/draw_frame.h"
#include "pointeditor/view/point_markers.h"
#include "tests/support/fake_platform.h"
#include "tests/support/scratch_directory.h"

namespace tavo::fuzz {

void checkFrame(std::span<const uint8_t> bytes) {
    // The input: one switch byte, two bytes giving the length of the point file, the point
    // file, and the rest as the block file.
    static const testing::ScratchDirectory directory;
    if (bytes.size() < 3) {
        return;
    }
    const uint8_t switches = bytes[0];
    const std::size_t pointBytes =
        std::min<std::size_t>(bytes[1] | bytes[2] << 8, bytes.size() - 3);
    const std::string pointPath = directory.write("points.pd1", bytes.subspan(3, pointBytes));
    const std::string blockPath = directory.write("map.bd1", bytes.subspan(3 + pointBytes));

    auto state = std::make_unique<EditorState>();
    testing::FakePlatform window;
    CheckingDevice device(*state);
    const FrameTargets targets{device};
    state->platform = &window;
    state->textureLoader = &device;
    state->english = switches & 1;
    state->showDirection = (switches >> 1) & 1;
    state->showTopView = (switches >> 2) & 1;
    state->showFrontView = (switches >> 3) & 1;
    state->showSideView = (switches >> 4) & 1;
    state->currentParams = {static_cast<int8_t>(bytes[1]), static_cast<int8_t>(bytes[2]),
                            static_cast<int8_t>(switches), static_cast<int8_t>(pointBytes)};
    FUZZ_REQUIRE(loadBlockFile(*state, blockPath));
    FUZZ_REQUIRE(loadPointFile(*state, pointPath));
    if ((switches & 0x20) != 0 && countUsedPoints(state->pointTable) > 0) { // its own colour
        state->pointTable.pointUsed[0] = SlotSelected;
    }

    drawFrame(*state, window, &targets);
    FUZZ_REQUIRE(device.scenes <= 4);
    const int links = buildLinkLines(*state).count;
    FUZZ_REQUIRE(links >= 0 && links <= MaxLinkLines);
    FUZZ_REQUIRE(!window.texts.empty());
}

} // namespace tavo::fuzz
