#include "pointeditor/view/device/repeated_lines.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace tavo {

namespace {

uint32_t bits(float f) {
    return std::bit_cast<uint32_t>(f);
}

// The row at y (horizontal) or the column at x (vertical).
uint64_t rowAt(float y) {
    return bits(y);
}
uint64_t columnAt(float x) {
    return uint64_t{1} << 32 | bits(x);
}

} // namespace

std::size_t RepeatedLineFilter::KeyHash::operator()(const Key& k) const {
    uint64_t h = 1469598103934665603ull;
    for (uint32_t word : {k.a, k.b, k.c, k.d}) {
        h = (h ^ word) * 1099511628211ull;
    }
    return static_cast<std::size_t>(h);
}

void RepeatedLineFilter::reset() {
    active_ = false;
    // clear() sweeps every bucket even of an empty set, and most draws end a run.
    if (!lines_.empty()) {
        lines_.clear();
    }
    if (!points_.empty()) {
        points_.clear();
    }
    if (!extents_.empty()) {
        extents_.clear();
    }
}

bool RepeatedLineFilter::within(uint64_t line, float low, float high, bool add) {
    auto found = extents_.find(line);
    if (found != extents_.end()) {
        for (const Extent& extent : found->second) {
            if (extent.low <= low && high <= extent.high) {
                return true;
            }
        }
    }
    if (add) {
        extents_[line].push_back({low, high});
    }
    return false;
}

bool RepeatedLineFilter::repeats(float x1, float y1, float x2, float y2, float z, uint32_t colour) {
    if ((colour >> 24) != 0xFF) {
        reset();
        return false;
    }
    if (active_ && (colour != colour_ || bits(z) != bits(z_))) {
        reset();
    }
    active_ = true;
    colour_ = colour;
    z_ = z;

    if (x1 == x2 && y1 == y2) {
        return within(rowAt(y1), x1, x1, false) || within(columnAt(x1), y1, y1, false) ||
               !points_.insert({bits(x1), bits(y1), 0, 0}).second;
    }
    if (y1 == y2) {
        return within(rowAt(y1), std::min(x1, x2), std::max(x1, x2), true);
    }
    if (x1 == x2) {
        return within(columnAt(x1), std::min(y1, y2), std::max(y1, y2), true);
    }
    // Lit at both ends, a segment covers the same pixels in either direction.
    if (std::pair(x2, y2) < std::pair(x1, y1)) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    return !lines_.insert({bits(x1), bits(y1), bits(x2), bits(y2)}).second;
}

} // namespace tavo
