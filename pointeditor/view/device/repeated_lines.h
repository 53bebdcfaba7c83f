#pragma once
// Block outlines repeat themselves in the 2D panes: a box's top and bottom rings fall on the
// same pixels in the top view, its vertical edges shrink to single points on those rings, and
// in the front and side views the edges of boxes behind one another lie along each other.
// Within a run of opaque lines of one colour at one depth, drawing a line again writes only
// pixels that already hold that colour and depth, so the device may leave such repeats out
// and the picture stays the same. This filter spots them.

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tavo {

class RepeatedLineFilter {
public:
    // Forgets the run: call when anything else is drawn or a state changes.
    void reset();

    // True when the line (both end pixels lit) would add nothing to the run so far: the same
    // segment was drawn, or it is axis-parallel (a single point counts as both) and lies
    // within an earlier axis-parallel line of the same row or column, or it is a point drawn
    // before. An axis-parallel line lights the pixels of its row whose centres lie between its
    // ends widened by half a pixel, so one within another lights a part of the other's pixels.
    // Any other line joins the run (a new colour or depth starts a new one). Lines that are not
    // opaque never count as repeats and end the run.
    bool repeats(float x1, float y1, float x2, float y2, float z, uint32_t colour);

private:
    struct Key {
        uint32_t a, b, c, d;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const;
    };

    // The extent along its row or column of an axis-parallel line.
    struct Extent {
        float low, high;
    };
    // Whether low..high lies within an extent of the row or column `line` (its axis and the
    // bits of its fixed coordinate); with `add`, it becomes one when it does not.
    bool within(uint64_t line, float low, float high, bool add);

    bool active_ = false;
    uint32_t colour_ = 0;
    float z_ = 0.0f;
    std::unordered_set<Key, KeyHash> lines_;
    std::unordered_set<Key, KeyHash> points_;
    std::unordered_map<uint64_t, std::vector<Extent>> extents_;
};

} // namespace tavo
