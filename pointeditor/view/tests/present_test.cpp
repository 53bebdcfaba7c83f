// Presents into the canvas: the back buffer's square at its place, with what it holds where it
// holds it, nothing beside it, and only the part inside the canvas of a square that reaches
// past its edges.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "gl_fixture.h"

namespace tavo {
namespace {

constexpr int Size = Device::BackBufferSize;
constexpr uint32_t Marker = 0xFF0000FFu; // blue: its red and blue must not trade places
constexpr uint32_t Spot = 0xFF20C060u;   // a square of the pane at 30..39 across and down

// name, left, top
const std::tuple<const char*, int, int> Places[] = {
    {"inside", 100, 50},
    {"past the top-left corner", -20, -25},
    {"past the bottom-right corner", Canvas::Width - 200, Canvas::Height - 100},
};

class PresentTest : public testing::GlTest {};

// Each place after a present wholly inside, so that what that one set up must not linger.
TEST_F(PresentTest, ASquareFillsItsPlaceInTheCanvasAndNothingBeside) {
    for (const auto& [name, left, top] : Places) {
        canvas.pixels.fill(Marker);
        device->beginScene();
        device->clear(ClearTarget, 0xFF804020u, 1.0f);
        device->setRenderState(RenderState::CullMode, CullNone);
        device->setTexture(nullptr);
        const PaneVertex square[4] = {{40, 30, 0, 1, Spot, 0, 0},
                                      {40, 40, 0, 1, Spot, 0, 0},
                                      {30, 40, 0, 1, Spot, 0, 0},
                                      {30, 30, 0, 1, Spot, 0, 0}};
        device->drawPrimitiveUP(PrimitiveType::TriangleFan, 2, square);
        device->endScene();
        device->present(Canvas::Width - Size, 0); // away from the places' edges
        device->present(left, top);
        const int right = left + Size, bottom = top + Size;
        const int x0 = std::max(left, 0), y0 = std::max(top, 0);
        const int x1 = std::min(right, Canvas::Width) - 1,
                  y1 = std::min(bottom, Canvas::Height) - 1;
        EXPECT_EQ(canvas.at(x0, y0), 0xFF804020u) << name << ": its first pixel";
        EXPECT_EQ(canvas.at(x1, y1), 0xFF804020u) << name << ": its last pixel";
        EXPECT_EQ(canvas.at(x1, y0), 0xFF804020u) << name << ": its last column";
        EXPECT_EQ(canvas.at(left + 35, top + 35), Spot) << name << ": the spot";
        EXPECT_EQ(canvas.at(left + 35, top + 45), 0xFF804020u) << name << ": below the spot";
        EXPECT_EQ(canvas.at(0, Canvas::Height - 1), Marker) << name << ": far from it";
        if (right < Canvas::Width) {
            EXPECT_EQ(canvas.at(right, y0 + 1), Marker) << name << ": beside it";
        }
        if (bottom < Canvas::Height) {
            EXPECT_EQ(canvas.at(x0 + 300, bottom), Marker) << name << ": below it";
        }
    }
}

} // namespace
} // namespace tavo
