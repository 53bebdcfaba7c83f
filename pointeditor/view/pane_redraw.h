#pragma once
// What each pane reads, in one place, and the memory of what the canvas's panes show.
//
// A pane's key is the bytes of everything its drawing reads: fields of EditorState, the link
// lines, the textures it binds, the device's resets. A pane whose key equals the key it had
// when its pixels last reached the canvas still shows the right picture there, and is not drawn
// again. renderPanes asks here for every pane; nothing else decides what is redrawn.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/view/point_markers.h"

namespace tavo {

class RetainedPanes {
public:
    // Whether `pane` (TopPane .. PerspectivePane) must be drawn for `state`: its key differs from
    // the one its pixels in the canvas were drawn with, or it has never been presented. `links`
    // are the frame's link lines, which the 2D panes draw.
    bool needsDrawing(int pane, const EditorState& state, const LinkLines& links);

    // The pane asked about last reached the canvas: its key now stands for its pixels.
    void presented(int pane);

    // The device was reset: every pane is drawn again.
    void deviceReset() { ++resets_; }

private:
    struct Key {
        std::vector<std::byte> bytes; // grown, never shrunk: only the first `size` count
        std::size_t size = 0;         // 0 for a pane never presented; a real key is longer
    };
    static constexpr std::size_t Panes = 5; // indexed by Pane

    std::array<Key, Panes> shown_;
    Key pending_;
    uint64_t resets_ = 0;
};

} // namespace tavo
