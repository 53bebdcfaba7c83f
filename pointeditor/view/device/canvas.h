#pragma once
// The window's picture: one retained 800 x 600 image. Text is drawn onto it and the panes are
// presented into it; nothing clears it between frames. Pixels are 0xFFRRGGBB, row by row, the
// layout of QImage::Format_RGB32, so the shell can wrap it without copying.

#include <array>
#include <cstdint>

namespace tavo {

struct Canvas {
    static constexpr int Width = 800;
    static constexpr int Height = 600;
    std::array<uint32_t, Width * Height> pixels;

    Canvas() { pixels.fill(0xFFC0C0C0u); } // the window's light grey background
    uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y * Width + x)]; }
    uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * Width + x)]; }
};

} // namespace tavo
