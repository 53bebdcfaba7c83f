#include "pointeditor/view/device/line_coverage.h"

#include <cmath>
#include <utility>

namespace tavo {

namespace {

// The quad of a line whose major axis is a (the other is b), in (a, b) coordinates.
void majorAxisQuad(float a1, float b1, float a2, float b2, bool lastPixel, float (&a)[4],
                   float (&b)[4]) {
    bool endAtLow = false;
    if (a1 > a2) {
        std::swap(a1, a2);
        std::swap(b1, b2);
        endAtLow = true;
    }
    float slope = a2 == a1 ? 0.0f : (b2 - b1) / (a2 - a1);
    float low = a1 - 0.5f;
    float high = a2 + 0.5f;
    if (!lastPixel) {
        if (endAtLow) {
            low = a1 + 0.5f;
        } else {
            high = a2 - 0.5f;
        }
    }
    float bLow = b1 + (low - a1) * slope;
    float bHigh = b1 + (high - a1) * slope;
    a[0] = low;
    b[0] = bLow - 0.5f;
    a[1] = high;
    b[1] = bHigh - 0.5f;
    a[2] = high;
    b[2] = bHigh + 0.5f;
    a[3] = low;
    b[3] = bLow + 0.5f;
}

} // namespace

PixelQuad lineCoverage(float x1, float y1, float x2, float y2, bool lastPixel) {
    PixelQuad quad;
    if (std::fabs(x2 - x1) >= std::fabs(y2 - y1)) {
        majorAxisQuad(x1, y1, x2, y2, lastPixel, quad.x, quad.y);
    } else {
        majorAxisQuad(y1, x1, y2, x2, lastPixel, quad.y, quad.x);
    }
    return quad;
}

} // namespace tavo
