#include "pointeditor/edit/zoom.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tavo {

float roundToTenth(float value) {
    if (!std::isfinite(value)) {
        return value;
    }
    // Decimal rounding of the exact binary value, as the C library's "%.1f" does; arithmetic
    // (value * 10, round) would round 0.25 and 0.35 differently.
    char text[64];
    auto written = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                 std::chars_format::fixed, 1);
    double parsed = 0.0;
    std::from_chars(text, written.ptr, parsed);
    return static_cast<float>(parsed);
}

void limitZoom(EditorState& state) {
    setZoom(state, std::clamp(state.zoom, MinZoom, MaxZoom));
}

} // namespace tavo
