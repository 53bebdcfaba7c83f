#pragma once
// Block outlines repeat themselves in the 2D panes: a box's top and bottom rings fall on the
// same pixels in the top view, and its vertical edges shrink to single points on those rings.
// Within a run of opaque lines of one colour at one depth, drawing a line again writes only
// pixels that already hold that colour and depth, so the device may leave such repeats out
// and the picture stays the same. This filter spots them.

#include <cstdint>
#include <unordered_set>

namespace tavo {

class RepeatedLineFilter {
public:
    // Forgets the run: call when anything else is drawn or a state changes.
    void reset();

    // True when the line (both end pixels lit) would add nothing to the run so far: the same
    // segment was drawn, or it is a single point lying on a lit end of an axis-parallel line or
    // on an earlier point. Any other line joins the run (a new colour or depth starts a new
    // one). Lines that are not opaque never count as repeats and end the run.
    bool repeats(float x1, float y1, float x2, float y2, float z, uint32_t colour);

private:
    struct Key {
        uint32_t a, b, c, d;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const;
    };

    bool active_ = false;
    uint32_t colour_ = 0;
    float z_ = 0.0f;
    std::unordered_set<Key, KeyHash> lines_;
    std::unordered_set<Key, KeyHash> points_;
};

} // namespace tavo
