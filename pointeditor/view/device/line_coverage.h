#pragma once
// Lines of pre-transformed vertices are drawn as thin quads, so that they join the triangles of
// the same pane in one draw call. The quad covers exactly the pixels that a one-pixel line
// lights under the diamond rule: one pixel per column of an x-major line (per row of a y-major
// one), from the start pixel through the end pixel, with pixel centres at integers.

namespace tavo {

struct PixelQuad {
    float x[4];
    float y[4]; // corners in order around the quad; triangles (0, 1, 2) and (0, 2, 3)
};

// The quad of the line from (x1, y1) to (x2, y2). Without lastPixel the end pixel stays
// unlit, so that the segments of a strip meet without lighting their shared pixel twice.
PixelQuad lineCoverage(float x1, float y1, float x2, float y2, bool lastPixel);

} // namespace tavo
