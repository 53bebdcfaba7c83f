#pragma once
// A real device on whatever OpenGL the machine has (Mesa's software rasteriser here), drawing
// into its own canvas, and helpers to read that canvas.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "image_files.h"
#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/pane_layout.h"
#include "pointeditor/view/device/canvas.h"
#include "pointeditor/view/device/gl_device.h"
#include "pointeditor/view/frame_targets.h"
#include "tests/support/scratch_directory.h"

namespace tavo::testing {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}
inline constexpr auto grey = [](int v) { return Rgb{v, v, v}; };

// Within `tolerance` per channel: blending and modulation may round either way.
inline ::testing::AssertionResult near(const Rgb& a, const Rgb& e, int tolerance) {
    int off = std::max({std::abs(a.r - e.r), std::abs(a.g - e.g), std::abs(a.b - e.b)});
    return (off <= tolerance ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << a << " vs " << e;
}

class GlTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeviceFailure failure;
        device = createGlDevice(canvas, failure);
        ASSERT_NE(device, nullptr) << deviceFailureMessage(failure) << ": " << failure.reason;
        state.textureLoader = device.get();
    }
    void TearDown() override {
        state.textures = {}; // textures before their device here
    }

    // The device as a frame's target, every pane drawn.
    FrameTargets frame() const { return {*device}; }

    // Writes `bytes` to a file of the test's own directory and gives its path.
    std::string file(const std::string& name, const std::vector<uint8_t>& bytes) {
        return scratch.write(name, bytes);
    }
    // Pixel (x, y) of the pane whose top-left corner is `origin`, or of the canvas.
    Rgb pixel(PaneOrigin origin, int x, int y) const {
        uint32_t p = canvas.at(origin.left + x, origin.top + y);
        return {static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF),
                static_cast<int>(p & 0xFF)};
    }

    Canvas canvas;
    std::unique_ptr<Device> device;
    EditorState state;
    ScratchDirectory scratch;
};

} // namespace tavo::testing
