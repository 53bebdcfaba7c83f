#include "pointeditor/view/pane_redraw.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "pointeditor/view/ortho_panes.h"
#include "pointeditor/view/point_markers.h"

namespace tavo {

namespace {

// Writes a key into a buffer that only grows, so that the bytes of one field go in as one
// small copy.
class KeyWriter {
public:
    explicit KeyWriter(std::vector<std::byte>& bytes) : bytes_(bytes) {
        if (bytes_.size() < InitialBytes) {
            bytes_.resize(InitialBytes);
        }
    }
    std::size_t size() const { return used_; }
    KeyWriter(const KeyWriter&) = delete;
    KeyWriter& operator=(const KeyWriter&) = delete;

    // Bytes, not values: a NaN equals itself here, and -0 differs from 0.
    template <typename T> void add(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        if (used_ + sizeof(T) > bytes_.size()) {
            bytes_.resize(2 * bytes_.size() + sizeof(T));
        }
        std::memcpy(bytes_.data() + used_, &value, sizeof(T));
        used_ += sizeof(T);
    }

private:
    static constexpr std::size_t InitialBytes = 64 * 1024; // the heaviest 3D pane's key fits
    std::vector<std::byte>& bytes_;
    std::size_t used_ = 0;
};

// The 3D pane: the blocks with their textures, the point crosses (whose size follows the 2D
// zoom) and the camera.
void perspectiveKey(KeyWriter& key, const EditorState& state) {
    for (const BlockRecord& block : state.blocks) {
        key.add(block.inUse != 0);
        if (block.inUse != 0) {
            key.add(block);
        }
    }
    for (const auto& texture : state.textures) {
        key.add(texture ? texture->serial() : 0);
    }
    key.add(state.zoom);
    for (int i = 0; i < MaxPoints; ++i) {
        const bool used = state.pointTable.pointUsed[static_cast<std::size_t>(i)] != 0;
        key.add(used);
        if (used) {
            const PointRecord& p = state.pointTable.points[static_cast<std::size_t>(i)];
            key.add(pointColour(state, i));
            key.add(std::array{p.x, p.y, p.z});
        }
    }
    key.add(std::array{state.cameraX, state.cameraY, state.cameraZ, state.cameraYaw,
                       state.cameraPitch});
}

// A 2D pane shows two of the three world axes; only those are read.
class PaneAxes {
public:
    explicit PaneAxes(int pane) : pane_(pane) {}
    std::array<float, 2> operator()(float x, float y, float z) const {
        switch (pane_) {
        case TopPane:
            return {x, z};
        case FrontPane:
            return {x, y};
        default:
            return {z, y};
        }
    }

private:
    int pane_;
};

int32_t paneToggle(const EditorState& state, int pane) {
    switch (pane) {
    case TopPane:
        return state.showTopView;
    case FrontPane:
        return state.showFrontView;
    default:
        return state.showSideView;
    }
}

// A 2D pane: its switch, the grid (fixed), and when shown the zoom and pan, block edges, link
// lines, points with their headings in the top view, the camera cross and the selection box.
void orthoKey(KeyWriter& key, const EditorState& state, const LinkLines& links, int pane) {
    const bool shown = paneToggle(state, pane) == 1;
    key.add(shown);
    if (!shown) {
        return;
    }
    const PaneAxes axes(pane);
    key.add(state.zoom);
    key.add(axes(state.panX, state.panY, state.panZ));
    for (const BlockRecord& block : state.blocks) {
        key.add(block.inUse != 0);
        if (block.inUse != 0) {
            for (int c = 0; c < 8; ++c) {
                key.add(axes(block.x[c], block.y[c], block.z[c]));
            }
        }
    }
    const int lines = std::clamp(links.count, 0, MaxLinkLines);
    key.add(lines);
    for (int i = 0; i < lines; ++i) {
        const LinkLine& line = links.lines[static_cast<std::size_t>(i)];
        key.add(axes(line.fromX, line.fromY, line.fromZ));
        key.add(axes(line.toX, line.toY, line.toZ));
        key.add(line.colour);
    }
    const bool headings = pane == TopPane && state.showDirection == 1;
    key.add(headings);
    for (int i = 0; i < MaxPoints; ++i) {
        const bool used = state.pointTable.pointUsed[static_cast<std::size_t>(i)] != 0;
        key.add(used);
        if (used) {
            const PointRecord& p = state.pointTable.points[static_cast<std::size_t>(i)];
            key.add(pointColour(state, i));
            key.add(axes(p.x, p.y, p.z));
            if (headings) {
                key.add(p.r);
            }
        }
    }
    key.add(axes(state.cameraX, state.cameraY, state.cameraZ));
    const bool box = selectionBoxShown(state, pane);
    key.add(box);
    if (box) {
        key.add(axes(state.boxStartX, state.boxStartY, state.boxStartZ));
        key.add(axes(state.cursorX, state.cursorY, state.cursorZ));
    }
}

} // namespace

bool RetainedPanes::needsDrawing(int pane, const EditorState& state, const LinkLines& links) {
    KeyWriter key(pending_.bytes);
    key.add(resets_);
    if (pane == PerspectivePane) {
        perspectiveKey(key, state);
    } else {
        orthoKey(key, state, links, pane);
    }
    pending_.size = key.size();
    const Key& shown = shown_[static_cast<std::size_t>(pane)];
    return shown.size == 0 || shown.size != pending_.size ||
           std::memcmp(shown.bytes.data(), pending_.bytes.data(), pending_.size) != 0;
}

void RetainedPanes::presented(int pane) {
    const auto index = static_cast<std::size_t>(pane);
    std::swap(shown_[index], pending_);
}

} // namespace tavo
