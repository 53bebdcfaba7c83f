// The device's drawing conventions, read back from the canvas: pixel centres and the fill rule,
// line end pixels, culling sense, depth test, blending, textures, present clipping, and that
// merged draws keep their order.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "gl_fixture.h"
#include "image_files.h"
#include "pointeditor/view/device.h"
#include "pointeditor/view/gl_device.h"

namespace tavo {
namespace {

using testing::GlTest;
using testing::Rgb;

constexpr uint32_t Red = 0xFFFF0000;
constexpr uint32_t Green = 0xFF00FF00;
constexpr uint32_t Blue = 0xFF0000FF;

PaneVertex at(float x, float y, uint32_t colour, float z = 0.0f) {
    return {x, y, z, 1.0f, colour, 0.0f, 0.0f};
}

class DeviceTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_NE(device, nullptr);
        device->setRenderState(RenderState::ZEnable, 1);
        device->setRenderState(RenderState::CullMode, CullNone);
        device->setRenderState(RenderState::SrcBlend, BlendSrcAlpha);
        device->setRenderState(RenderState::DestBlend, BlendInvSrcAlpha);
        device->setRenderState(RenderState::AlphaBlendEnable, 1);
        device->setVertexFormat(VertexFormat::Pane);
        device->beginScene();
        device->clear(ClearTarget | ClearZBuffer, 0xFF000000, 1.0f);
    }

    // Ends the scene and presents it at the canvas origin.
    void show() {
        device->endScene();
        ASSERT_EQ(device->present(0, 0), PresentResult::Ok);
    }
    Rgb px(int x, int y) const { return pixel(0, 0, x, y); }

    void rectangle(float x1, float y1, float x2, float y2, uint32_t colour, float z = 0.0f) {
        PaneVertex v[4] = {at(x2, y1, colour, z), at(x2, y2, colour, z), at(x1, y2, colour, z),
                           at(x1, y1, colour, z)};
        device->drawPrimitiveUP(PrimitiveType::TriangleFan, 2, v);
    }
    void line(float x1, float y1, float x2, float y2, uint32_t colour) {
        PaneVertex v[2] = {at(x1, y1, colour), at(x2, y2, colour)};
        device->drawPrimitiveUP(PrimitiveType::LineStrip, 1, v);
    }

    // The lit pixels of the canvas's top-left 280 x 280 that are not black.
    int litPixels() const {
        int lit = 0;
        for (int y = 0; y < Device::BackBufferSize; ++y) {
            for (int x = 0; x < Device::BackBufferSize; ++x) {
                lit += (canvas.at(x, y) & 0xFFFFFF) != 0 ? 1 : 0;
            }
        }
        return lit;
    }
};

TEST_F(DeviceTest, SquareFromMinusTwoToPlusThreeCoversFivePixelsEachWay) {
    rectangle(100 - 2, 50 - 2, 100 + 3, 50 + 3, Red);
    show();
    for (int y = 47; y <= 53; ++y) {
        for (int x = 97; x <= 103; ++x) {
            bool inside = x >= 98 && x <= 102 && y >= 48 && y <= 52;
            EXPECT_EQ(px(x, y), (inside ? Rgb{255, 0, 0} : Rgb{0, 0, 0})) << x << "," << y;
        }
    }
}

TEST_F(DeviceTest, LinesLightBothEndPixelsAndNothingBeyond) {
    line(10, 20, 30, 20, Red);   // horizontal, left to right
    line(60, 40, 60, 10, Green); // vertical, bottom to top
    line(100, 100, 90, 95, Blue);
    line(70, 70, 70, 70, Red); // a point: one pixel
    show();
    EXPECT_EQ(px(70, 70), (Rgb{255, 0, 0}));
    EXPECT_EQ(px(9, 20), (Rgb{0, 0, 0}));
    for (int x = 10; x <= 30; ++x) {
        EXPECT_EQ(px(x, 20), (Rgb{255, 0, 0})) << x;
    }
    EXPECT_EQ(px(31, 20), (Rgb{0, 0, 0}));
    EXPECT_EQ(px(60, 9), (Rgb{0, 0, 0}));
    EXPECT_EQ(px(60, 10), (Rgb{0, 255, 0}));
    EXPECT_EQ(px(60, 40), (Rgb{0, 255, 0}));
    EXPECT_EQ(px(60, 41), (Rgb{0, 0, 0}));
    // An x-major slope: one pixel per column from 90 to 100.
    EXPECT_EQ(px(100, 100), (Rgb{0, 0, 255}));
    EXPECT_EQ(px(90, 95), (Rgb{0, 0, 255}));
    int blue = 0;
    for (int y = 90; y <= 105; ++y) {
        for (int x = 85; x <= 105; ++x) {
            blue += px(x, y) == Rgb{0, 0, 255} ? 1 : 0;
        }
    }
    EXPECT_EQ(blue, 11);
    EXPECT_EQ(litPixels(), 21 + 31 + 11 + 1);
}

TEST_F(DeviceTest, StripSegmentsShareTheirJoinPixelOnce) {
    PaneVertex v[3] = {at(10, 10, 0x80FF0000), at(20, 10, 0x80FF0000), at(20, 20, 0x80FF0000)};
    device->drawPrimitiveUP(PrimitiveType::LineStrip, 2, v);
    show();
    EXPECT_EQ(px(20, 10), px(15, 10));
    EXPECT_EQ(px(20, 20), px(15, 10));
}

TEST_F(DeviceTest, CounterClockwiseCullingRemovesTrianglesThatRunCounterClockwiseOnScreen) {
    device->setRenderState(RenderState::CullMode, CullCounterClockwise);
    // y grows downwards: right, then down, then left is clockwise on the screen.
    PaneVertex clockwise[4] = {at(10, 10, Red), at(50, 10, Red), at(50, 50, Red), at(10, 50, Red)};
    PaneVertex counter[4] = {at(110, 10, Green), at(110, 50, Green), at(150, 50, Green),
                             at(150, 10, Green)};
    device->drawPrimitiveUP(PrimitiveType::TriangleFan, 2, clockwise);
    device->drawPrimitiveUP(PrimitiveType::TriangleFan, 2, counter);
    device->setRenderState(RenderState::CullMode, CullNone);
    PaneVertex counterAgain[4] = {at(210, 10, Blue), at(210, 50, Blue), at(250, 50, Blue),
                                  at(250, 10, Blue)};
    device->drawPrimitiveUP(PrimitiveType::TriangleFan, 2, counterAgain);
    show();
    EXPECT_EQ(px(30, 30), (Rgb{255, 0, 0}));
    EXPECT_EQ(px(130, 30), (Rgb{0, 0, 0}));
    EXPECT_EQ(px(230, 30), (Rgb{0, 0, 255}));
}

TEST_F(DeviceTest, DepthTestIsLessOrEqualWithWrites) {
    rectangle(10, 10, 60, 60, Red, 0.5f);
    rectangle(30, 30, 80, 80, Green, 0.7f);  // behind the red one where they overlap
    rectangle(50, 50, 100, 100, Blue, 0.7f); // same depth as green: drawn over it
    show();
    EXPECT_EQ(px(40, 40), (Rgb{255, 0, 0}));
    EXPECT_EQ(px(55, 55), (Rgb{255, 0, 0}));
    EXPECT_EQ(px(65, 65), (Rgb{0, 0, 255}));
    EXPECT_EQ(px(35, 70), (Rgb{0, 255, 0}));
}

TEST_F(DeviceTest, SourceAlphaBlendsOverWhatIsThereInDrawOrder) {
    rectangle(10, 10, 20, 20, 0x82FF0000);
    rectangle(30, 10, 40, 20, 0xF0FF0000);
    // Order matters for translucent draws, and merging must not change it.
    rectangle(50, 10, 60, 20, 0xFF0000FF);
    rectangle(50, 10, 60, 20, 0x80FF0000);
    line(50, 15, 59, 15, 0x8000FF00);
    show();
    EXPECT_EQ(px(15, 15), (Rgb{130, 0, 0}));
    EXPECT_EQ(px(35, 15), (Rgb{240, 0, 0}));
    EXPECT_TRUE(testing::near(px(55, 12), Rgb{128, 0, 127}, 1));
    EXPECT_TRUE(testing::near(px(55, 15), Rgb{64, 128, 63}, 1));
}

TEST_F(DeviceTest, PresentPlacesTheBufferAndClipsAtTheCanvasEdge) {
    rectangle(0, 0, 280, 280, Red);
    device->endScene();
    canvas.pixels.fill(0xFF123456);
    ASSERT_EQ(device->present(700, 500), PresentResult::Ok);
    EXPECT_EQ(testing::rgb(canvas.at(699, 550)), (Rgb{0x12, 0x34, 0x56}));
    EXPECT_EQ(testing::rgb(canvas.at(700, 500)), (Rgb{255, 0, 0}));
    EXPECT_EQ(testing::rgb(canvas.at(799, 599)), (Rgb{255, 0, 0}));
    EXPECT_EQ(testing::rgb(canvas.at(750, 499)), (Rgb{0x12, 0x34, 0x56}));
    ASSERT_EQ(device->present(-100, -100), PresentResult::Ok);
    EXPECT_EQ(testing::rgb(canvas.at(179, 179)), (Rgb{255, 0, 0}));
    EXPECT_EQ(testing::rgb(canvas.at(180, 10)), (Rgb{0x12, 0x34, 0x56}));
    EXPECT_EQ(canvas.at(10, 10) >> 24, 0xFFu); // presented pixels are opaque
}

class TextureFileTest : public DeviceTest {
  protected:
    void TearDown() override {
        DeviceTest::TearDown();
        std::filesystem::remove_all(dir);
    }
    std::string pngFile(const std::string& name, const testing::TestImage& image) {
        std::string path = dir + "/" + name;
        testing::writeFile(path, testing::encodePng(image));
        return path;
    }
    void texturedRectangle(float x1, float y1, float x2, float y2, float u2, float v2) {
        PaneVertex v[4] = {{x2, y1, 0, 1, 0xFFFFFFFF, u2, 0},
                           {x2, y2, 0, 1, 0xFFFFFFFF, u2, v2},
                           {x1, y2, 0, 1, 0xFFFFFFFF, 0, v2},
                           {x1, y1, 0, 1, 0xFFFFFFFF, 0, 0}};
        device->drawPrimitiveUP(PrimitiveType::TriangleFan, 2, v);
    }
    std::string dir = testing::makeTempDir();
};

TEST_F(TextureFileTest, TexelsAreSampledNearestWithWrapAndTopRowFirst) {
    testing::TestImage image = testing::TestImage::filled(2, 2, 0xFFFF0000);
    image.at(1, 0) = 0xFF00FF00;
    image.at(0, 1) = 0xFF0000FF;
    image.at(1, 1) = 0xFFFFFFFF;
    auto texture = device->loadTexture(pngFile("quad.png", image));
    ASSERT_NE(texture, nullptr);
    device->setTexture(texture.get());
    // 40 x 40 pixels over u, v -1..1: the 2 x 2 image twice each way, 10 pixels per texel.
    PaneVertex v[4] = {{140, 100, 0, 1, 0xFFFFFFFF, 1, -1},
                       {140, 140, 0, 1, 0xFFFFFFFF, 1, 1},
                       {100, 140, 0, 1, 0xFFFFFFFF, -1, 1},
                       {100, 100, 0, 1, 0xFFFFFFFF, -1, -1}};
    device->drawPrimitiveUP(PrimitiveType::TriangleFan, 2, v);
    show();
    EXPECT_EQ(px(104, 104), (Rgb{255, 0, 0}));
    EXPECT_EQ(px(114, 104), (Rgb{0, 255, 0}));
    EXPECT_EQ(px(104, 114), (Rgb{0, 0, 255}));
    EXPECT_EQ(px(114, 114), (Rgb{255, 255, 255}));
    EXPECT_EQ(px(124, 124), (Rgb{255, 0, 0}));
    EXPECT_EQ(px(134, 134), (Rgb{255, 255, 255}));
}

TEST_F(TextureFileTest, TexturesTooLargeToShareAPageAndFilteredSamplingStillShowTheirTexels) {
    auto wide = device->loadTexture(pngFile("wide.png", testing::TestImage::filled(3000, 2, Blue)));
    auto small = device->loadTexture(pngFile("small.png", testing::TestImage::filled(2, 2, Green)));
    ASSERT_NE(wide, nullptr);
    ASSERT_NE(small, nullptr);
    for (int i = 0; i < 4; ++i) {
        device->setTexture(i % 2 == 0 ? wide.get() : small.get());
        float x = static_cast<float>(20 * i);
        texturedRectangle(x, 10, x + 10, 20, 1, 1);
    }
    device->setTextureStageState(TextureStageState::MagFilter, FilterLinear);
    device->setTextureStageState(TextureStageState::MipFilter, FilterLinear);
    device->setTexture(small.get());
    texturedRectangle(100, 10, 110, 20, 1, 1);
    show();
    EXPECT_EQ(px(25, 15), (Rgb{0, 255, 0}));
    EXPECT_EQ(px(45, 15), (Rgb{0, 0, 255}));
    EXPECT_EQ(px(65, 15), (Rgb{0, 255, 0}));
    EXPECT_EQ(px(105, 15), (Rgb{0, 255, 0}));
    EXPECT_EQ(px(5, 15), (Rgb{0, 0, 255}));
}

TEST_F(TextureFileTest, ManyTexturesInOneRunEachShowTheirOwnInBothSamplingModes) {
    std::vector<std::unique_ptr<Texture>> textures;
    for (int i = 0; i < 24; ++i) {
        uint32_t colour = 0xFF000000u | static_cast<uint32_t>(i * 10) << 16 | 0x40u;
        textures.push_back(device->loadTexture(
            pngFile("t" + std::to_string(i) + ".png", testing::TestImage::filled(4, 4, colour))));
        ASSERT_NE(textures.back(), nullptr);
    }
    // Nearest sampling reads the atlas; filtered sampling puts textures on units, more than
    // there are units here.
    for (uint32_t filter : {FilterNone, FilterLinear}) {
        device->setTextureStageState(TextureStageState::MagFilter, filter);
        device->clear(ClearTarget | ClearZBuffer, 0xFF000000, 1.0f);
        for (int i = 0; i < 24; ++i) {
            device->setTexture(textures[static_cast<std::size_t>(i)].get());
            float x = static_cast<float>(10 * i);
            texturedRectangle(x, 10, x + 8, 18, 1, 1);
            device->setTexture(nullptr);
            rectangle(x, 30, x + 8, 38, 0xFF00FF00);
        }
        show();
        for (int i = 0; i < 24; ++i) {
            EXPECT_EQ(px(10 * i + 4, 14), (Rgb{i * 10, 0, 0x40})) << i << " " << filter;
            EXPECT_EQ(px(10 * i + 4, 34), (Rgb{0, 255, 0})) << i << " " << filter;
        }
    }
}

TEST_F(TextureFileTest, TexturesAndDeviceMayGoInEitherOrder) {
    std::string path = pngFile("a.png", testing::TestImage::filled(8, 8, 0xFF804020));
    auto kept = device->loadTexture(path);
    ASSERT_NE(kept, nullptr);
    device.reset();
    state.device = nullptr;
    kept.reset(); // after its device: must not crash

    Canvas other;
    DeviceFailure failure = DeviceFailure::None;
    auto second = createGlDevice(other, failure);
    ASSERT_NE(second, nullptr);
    auto early = second->loadTexture(path);
    ASSERT_NE(early, nullptr);
    early.reset(); // before its device
    second.reset();
}

TEST_F(TextureFileTest, ATextureFromAnotherDeviceDrawsUntextured) {
    Canvas other;
    DeviceFailure failure = DeviceFailure::None;
    auto second = createGlDevice(other, failure);
    ASSERT_NE(second, nullptr);
    auto foreign = second->loadTexture(pngFile("f.png", testing::TestImage::filled(4, 4, Blue)));
    ASSERT_NE(foreign, nullptr);
    device->setTexture(foreign.get());
    texturedRectangle(10, 10, 20, 20, 1, 1);
    show();
    EXPECT_EQ(px(15, 15), (Rgb{255, 255, 255}));
}

TEST(DeviceFailureMessage, NamesEachFailureInJapanese) {
    EXPECT_EQ(deviceFailureMessage(DeviceFailure::CreateFailed), "Direct3Dの作成に失敗しました");
    EXPECT_EQ(deviceFailureMessage(DeviceFailure::InitFailed), "Direct3Dの初期化に失敗しました");
    EXPECT_TRUE(deviceFailureMessage(DeviceFailure::None).empty());
}

} // namespace
} // namespace tavo
