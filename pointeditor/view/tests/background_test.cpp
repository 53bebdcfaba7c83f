// The panes' kept background: the back buffer's colour and depth copied aside and put back in
// place of a clear, so a frame of the 2D panes starts from the grid without drawing it again.

#include <gtest/gtest.h>

#include "gl_fixture.h"
#include "pointeditor/view/device/gl_texture.h"
#include "pointeditor/view/render_panes.h"
#include "tests/support/scene_builders.h"

namespace tavo {
namespace {

using testing::Rgb;

const Rgb Red{255, 0, 0}, Green{0, 255, 0};

class BackgroundTest : public testing::GlTest {
protected:
    // An opaque square of `side` pixels at (left, top) and depth z.
    void square(float left, float top, float side, float z, uint32_t colour) {
        device->setTexture(nullptr);
        const PaneVertex quad[4] = {{left + side, top, z, 1, colour, 0, 0},
                                    {left + side, top + side, z, 1, colour, 0, 0},
                                    {left, top + side, z, 1, colour, 0, 0},
                                    {left, top, z, 1, colour, 0, 0}};
        device->drawPrimitiveUP(PrimitiveType::TriangleFan, 2, quad);
    }
    void start(uint32_t colour) {
        device->setRenderState(RenderState::CullMode, CullNone);
        device->setRenderState(RenderState::ZEnable, 1);
        device->beginScene();
        device->clear(ClearTarget | ClearZBuffer, colour, 1.0f);
    }
    void show() {
        device->endScene();
        device->present(0, 0);
    }
    Rgb at(int x, int y) const { return pixel({0, 0}, x, y); }
};

// A red square at depth 0.25 kept; the buffer cleared yellow; the restore brings back the red and
// its depth, so a green square behind it at 0.5 shows only where the red is not. None is kept on
// a new device nor after a reset.
TEST_F(BackgroundTest, ARestoreBringsBackTheKeptColourAndDepth) {
    EXPECT_FALSE(device->restoreBackground()) << "a new device";
    start(0xFF000000);
    square(10, 10, 20, 0.25f, 0xFFFF0000);
    device->keepBackground();
    square(40, 10, 20, 0.25f, 0xFFFFFFFF); // drawn after the keep: not part of it
    show();
    start(0xFFFFFF00);
    show();
    ASSERT_EQ(at(20, 20), (Rgb{255, 255, 0})) << "the clear before the restore";
    device->beginScene();
    ASSERT_TRUE(device->restoreBackground());
    square(0, 0, 30, 0.5f, 0xFF00FF00);
    show();
    EXPECT_EQ(at(20, 20), Red) << "the kept square in front of the later one";
    EXPECT_EQ(at(5, 5), Green) << "the later square where the kept depth is the clear's";
    EXPECT_EQ(at(50, 20), (Rgb{0, 0, 0})) << "what came after the keep";
    EXPECT_EQ(at(100, 100), (Rgb{0, 0, 0})) << "the kept clear";
    start(0xFF000000);
    device->keepBackground();
    device->reset();
    EXPECT_FALSE(device->restoreBackground()) << "after a reset";
}

// A texture keeps the context after its device is gone: the device's buffers, its kept
// background's included, must not stay behind in it.
TEST_F(BackgroundTest, TheDevicesBuffersGoWithItWhileATextureKeepsTheContext) {
    auto kept = device->loadTexture(
        file("a.png", testing::encode(testing::TestImage::filled(2, 2, ~0u), "PNG")));
    const auto* texture = dynamic_cast<const GlTexture*>(kept.get());
    ASSERT_NE(texture, nullptr);
    const auto live = [texture](GLboolean (*exists)(GLuint)) {
        texture->context()->makeCurrent();
        int count = 0;
        for (GLuint name = 1; name < 256; ++name) {
            count += exists(name) == GL_TRUE ? 1 : 0;
        }
        return count;
    };
    ASSERT_EQ(live(glIsFramebuffer), 2) << "framebuffers of a device: its back buffer and the kept";
    device.reset();
    EXPECT_EQ(live(glIsFramebuffer), 0) << "framebuffers after the device";
    EXPECT_EQ(live(glIsRenderbuffer), 0) << "renderbuffers after the device";
}

// The second frame's 2D panes start from the grid the first one kept.
TEST_F(BackgroundTest, AFrameFromTheKeptGridIsTheFrameDrawnWhole) {
    state.blocks[3] = testing::box(-20, 0, -10, 10, 20, 15);
    renderPanes(state, frame());
    const std::vector<uint32_t> whole(canvas.pixels.begin(), canvas.pixels.end());
    canvas.pixels.fill(0xFFC0C0C0u); // the panes black no more
    ASSERT_TRUE(device->restoreBackground()) << "the first frame kept its grid";
    renderPanes(state, frame());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < canvas.pixels.size(); ++i) {
        differing += canvas.pixels[i] != whole[i] ? 1 : 0;
    }
    EXPECT_EQ(differing, 0u) << "pixels that differ between the frames";
}

} // namespace
} // namespace tavo
