// Presents into the canvas: the back buffer's square at its place, with what it holds where it
// holds it, nothing beside it, and only the part inside the canvas of a square that reaches
// past its edges.

#include <gtest/gtest.h>

#include <algorithm>

#include "gl_fixture.h"

namespace tavo {
namespace {

constexpr int Size = Device::BackBufferSize;
constexpr uint32_t Marker = 0xFF0000FFu; // blue: its red and blue must not trade places
constexpr uint32_t Spot = 0xFF20C060u;   // a square of the pane at 30..39 across and down

struct Place {
    const char* name;
    int left, top;
};

const Place Places[] = {
    {"inside", 100, 50},
    {"past the top-left corner", -20, -25},
    {"past the bottom-right corner", Canvas::Width - 200, Canvas::Height - 100},
};

class PresentTest : public testing::GlTest {};

// Each place after a present wholly inside, so that what that one set up must not linger.
TEST_F(PresentTest, ASquareFillsItsPlaceInTheCanvasAndNothingBeside) {
    for (const Place& place : Places) {
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
        device->present(place.left, place.top);
        const int right = place.left + Size, bottom = place.top + Size;
        const int x0 = std::max(place.left, 0), y0 = std::max(place.top, 0);
        const int x1 = std::min(right, Canvas::Width) - 1,
                  y1 = std::min(bottom, Canvas::Height) - 1;
        EXPECT_EQ(canvas.at(x0, y0), 0xFF804020u) << place.name << ": its first pixel";
        EXPECT_EQ(canvas.at(x1, y1), 0xFF804020u) << place.name << ": its last pixel";
        EXPECT_EQ(canvas.at(x1, y0), 0xFF804020u) << place.name << ": its last column";
        EXPECT_EQ(canvas.at(place.left + 35, place.top + 35), Spot) << place.name << ": the spot";
        EXPECT_EQ(canvas.at(place.left + 35, place.top + 45), 0xFF804020u)
            << place.name << ": below the spot";
        EXPECT_EQ(canvas.at(0, Canvas::Height - 1), Marker) << place.name << ": far from it";
        if (right < Canvas::Width) {
            EXPECT_EQ(canvas.at(right, y0 + 1), Marker) << place.name << ": beside it";
        }
        if (bottom < Canvas::Height) {
            EXPECT_EQ(canvas.at(x0 + 300, bottom), Marker) << place.name << ": below it";
        }
    }
}

} // namespace
} // namespace tavo
