#pragma once
// A real device on whatever OpenGL the machine has (Mesa's software rasteriser here), drawing
// into its own canvas, and helpers to read that canvas.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/view/canvas.h"
#include "pointeditor/view/gl_device.h"

namespace tavo::testing {

struct Rgb {
    int r;
    int g;
    int b;
    bool operator==(const Rgb&) const = default;
};

inline Rgb rgb(uint32_t pixel) {
    return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
}

inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// Within `tolerance` per channel: blending and modulation may round either way.
inline ::testing::AssertionResult near(const Rgb& actual, const Rgb& expected, int tolerance) {
    if (std::abs(actual.r - expected.r) <= tolerance &&
        std::abs(actual.g - expected.g) <= tolerance &&
        std::abs(actual.b - expected.b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << actual << " is not within " << tolerance << " of " << expected;
}

class GlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeviceFailure failure = DeviceFailure::None;
        device = createGlDevice(canvas, failure);
        ASSERT_NE(device, nullptr) << deviceFailureMessage(failure);
        ASSERT_EQ(failure, DeviceFailure::None);
        state.device = device.get();
        state.textureLoader = device.get();
    }
    void TearDown() override {
        // The textures go first here; other tests check the opposite order.
        for (auto& texture : state.textures) {
            texture.reset();
        }
    }

    // Pixel (x, y) of a pane whose top-left corner is at (left, top) in the canvas.
    Rgb pixel(int left, int top, int x, int y) const { return rgb(canvas.at(left + x, top + y)); }

    Canvas canvas;
    std::unique_ptr<Device> device;
    EditorState state;
};

} // namespace tavo::testing
