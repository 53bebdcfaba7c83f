// A map's textures loaded through the real device: the texels of every format against the
// stored samples, the slots that keep what they held, what is reported for each texture that did
// not load, a second map over a first, filtered copies that leave nothing behind, and textures
// outliving the device.

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "gl_fixture.h"
#include "pointeditor/data/block_file.h"
#include "pointeditor/view/device/gl_texture.h"
#include "pointeditor/view/image/image_decoder.h"
#include "samples/sample_mission.h"
#include "tests/support/fake_platform.h"
#include "tests/support/image_writers.h"

namespace tavo {

std::ostream& operator<<(std::ostream& out, const TextureFinding& finding) {
    return out << textureFindingLine(finding, true);
}

namespace {

using testing::encode;
using testing::Rgb;
using testing::TestImage;
using Bytes = std::vector<uint8_t>;
Bytes cut(const Bytes& b, std::size_t n) {
    return {b.begin(), b.begin() + static_cast<long>(n)};
}

// Four 8 x 8 quadrants: red, green above blue, white.
const Rgb Quadrants[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
TestImage quadrants() {
    TestImage image{16, 16, {}};
    for (int i = 0; i < 256; ++i) {
        const Rgb& c = Quadrants[(i / 16 >= 8) * 2 + (i % 16 >= 8)];
        image.pixels.push_back(0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 |
                               uint32_t(c.b));
    }
    return image;
}

class TexturesTest : public testing::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        state.platform = &platform;
    }
    // Loads a .bd1 with the given texture names and no blocks; gives what did not load.
    std::vector<TextureFinding> loadMap(const std::string& name,
                                        const std::vector<std::string>& textures) {
        auto findings = loadBlockFile(state, file(name, sample::encodeBlockFile(textures, {})));
        EXPECT_TRUE(findings.ok());
        return findings ? *findings : std::vector<TextureFinding>{};
    }
    // One frame of `draws` on black, culling off.
    void frameOf(const std::function<void()>& draws) {
        device->setRenderState(RenderState::CullMode, CullNone);
        device->beginScene();
        device->clear(ClearTarget | ClearZBuffer, 0xFF000000, 1.0f);
        draws();
        device->endScene();
        device->present(0, 0);
    }
    // Slot `slot` on a side x side quad from (left, 0), over u, v 0..1.
    void draw(int slot, float left = 0, float side = 40) {
        device->setTexture(state.textures[static_cast<std::size_t>(slot)].get());
        const PaneVertex quad[4] = {{left + side, 0, 0, 1, ~0u, 1, 0},
                                    {left + side, side, 0, 1, ~0u, 1, 1},
                                    {left, side, 0, 1, ~0u, 0, 1},
                                    {left, 0, 0, 1, ~0u, 0, 0}};
        device->drawPrimitiveUP(PrimitiveType::TriangleFan, 2, quad);
    }
    // The colour at (x, y) of a 40 x 40 quad drawn with the texture of `slot`.
    Rgb shown(int slot, int x, int y) {
        frameOf([&] { draw(slot); });
        return pixel({0, 0}, x, y);
    }
    testing::FakePlatform platform;
};

// Each row's file is named in the map in small letters, whatever its own case. The quadrants
// keep their places (a BMP stores its rows bottom-up); the solid images give one texel.
TEST_F(TexturesTest, ATexelIsTheStoredSampleScaledToEightBitsInEveryFormat) {
    using testing::jpegOf;
    using testing::pngOf;
    const auto tga = [](int width, int height) {
        return testing::tgaImageOf(width, height, std::vector(width * height, 0xFF4E759Cu),
                                   {.type = 2, .depth = 24});
    };
    const std::vector<Rgb> quads(std::begin(Quadrants), std::end(Quadrants));
    // name, bytes, the texels (one, or one a quadrant), the tolerance (JPEG is lossy)
    const std::tuple<const char*, Bytes, std::vector<Rgb>, int> cases[] = {
        // clang-format off
        {"wall.jpg", encode(quadrants(), "JPG"), quads, 4},
        {"floor.png", encode(quadrants(), "PNG"), quads, 0},
        {"Brick.BMP", encode(quadrants(), "BMP"), quads, 0},
        {"rgb8.png", pngOf(4, 4, 8, PNG_COLOR_TYPE_RGB, {78, 117, 156}), {{78, 117, 156}}, 0},
        {"rgb8-gamma1.png", pngOf(4, 4, 8, PNG_COLOR_TYPE_RGB, {78, 117, 156}, 100000),
         {{78, 117, 156}}, 0},
        {"grey16.png", pngOf(4, 4, 16, PNG_COLOR_TYPE_GRAY, {0x9C40}), {testing::grey(156)}, 0},
        // 0x10FF rounds up to 17; its high byte alone would be 16.
        {"rgb16-gamma1.png", pngOf(4, 4, 16, PNG_COLOR_TYPE_RGB, {0x10FF, 0x9C40, 0xFFFF}, 100000),
         {{17, 156, 255}}, 0},
        {"cmyk.jpg", jpegOf(8, 8, {0, 100, 200, 50}, false), {{205, 125, 44}}, 1},
        {"no-ink.jpg", jpegOf(8, 8, {0, 0, 0, 0}, false), {{255, 255, 255}}, 1},
        {"adobe-cmyk.jpg", jpegOf(8, 8, {255, 155, 55, 205}, true), {{205, 125, 44}}, 1},
        {"rgb.tga", tga(4, 4), {{78, 117, 156}}, 0},
        // A TGA has no magic: its header's sizes (little-endian, at least 1) make it one.
        {"wide.tga", tga(256, 1), {{78, 117, 156}}, 0},
        // clang-format on
    };
    for (const auto& [name, bytes, texels, tolerance] : cases) {
        SCOPED_TRACE(name);
        file(name, bytes);
        ASSERT_EQ(loadMap("map.bd1", {QString(name).toLower().toStdString()}),
                  std::vector<TextureFinding>{});
        const bool solid = texels.size() == 1;
        for (int q = 0; q < 4; ++q) {
            // A quadrant's middle, or a corner texel of a solid image: its first and last columns.
            const int x = solid ? 2 + 36 * (q % 2) : 10 + 20 * (q % 2);
            const int y = solid ? 2 + 36 * (q / 2) : 10 + 20 * (q / 2);
            const Rgb& texel = texels[solid ? 0 : static_cast<std::size_t>(q)];
            EXPECT_TRUE(testing::near(shown(0, x, y), texel, tolerance)) << q;
        }
    }
}

TEST_F(TexturesTest, EachTextureThatDidNotLoadIsOneFindingWithItsReason) {
    Bytes png = encode(quadrants(), "PNG");
    file("notes.png", {'n', 'o', 't', 'e', 's'});
    file("cut.png", cut(png, png.size() / 2));
    file("wide.png", testing::pngOf(MaxImageSide + 1, 1, 8, PNG_COLOR_TYPE_GRAY, {0}));
    file("thin.png", testing::pngOf(1, MaxImageSide, 8, PNG_COLOR_TYPE_GRAY, {0}));
    using P = TextureProblem;
    EXPECT_EQ(
        loadMap("map.bd1", {"missing.png", "", "notes.png", "cut.png", "wide.png", "thin.png"}),
        (std::vector<TextureFinding>{{0, "missing.png", P::NotFound},
                                     {2, "notes.png", P::Unsupported},
                                     {3, "cut.png", P::Damaged},
                                     {4, "wide.png", P::OverBudget}}));
}

TEST_F(TexturesTest, ASecondMapReplacesWhatLoadsAndKeepsTheFirstMapsOtherwise) {
    const Bytes jpeg = encode(quadrants(), "JPG");
    const Bytes png = encode(quadrants(), "PNG");
    const Bytes bmp = encode(quadrants(), "BMP");
    file("good.png", png);
    loadMap("first.bd1", std::vector<std::string>(TextureCount, "good.png"));
    std::vector<const Texture*> before;
    for (const auto& texture : state.textures) {
        before.push_back(texture.get());
        ASSERT_NE(before.back(), nullptr);
    }
    file("cut.jpg", cut(jpeg, jpeg.size() - 40)); // inside the scan: libjpeg only warns
    file("short.jpg", cut(jpeg, 200));
    Bytes corrupt = jpeg;
    // libjpeg's default handler would exit.
    std::fill(corrupt.begin() + 2, corrupt.begin() + 40, 0xFF);
    file("corrupt.jpg", corrupt);
    file("cut.png", cut(png, png.size() / 2));
    // Regression: Qt's reader filled the rows missing from a cut-off BMP and called it a success.
    file("cut.bmp", cut(bmp, 60));
    Bytes wide = bmp;
    std::memcpy(wide.data() + 18, "\xA0\x86\x01\x00", 4); // claims 100000 pixels across
    file("wide.bmp", wide);
    file("notes.png", {'n', 'o', 't', 'e', 's'});
    file("blue.png", encode(TestImage::filled(4, 4, 0xFF0000FF), "PNG"));
    // Missing, empty or broken images keep the first map's texture; the last slot is replaced.
    loadMap("second.bd1", {"", "missing.png", "cut.jpg", "short.jpg", "corrupt.jpg", "cut.png",
                           "cut.bmp", "wide.bmp", "notes.png", "blue.png"});
    for (std::size_t i = 0; i + 1 < TextureCount; ++i) {
        EXPECT_EQ(state.textures[i].get(), before[i]) << i;
    }
    EXPECT_EQ(std::tuple(shown(2, 10, 10), shown(9, 10, 10)),
              std::tuple(Rgb{255, 0, 0}, Rgb{0, 0, 255}));
}

// The texture of filtered sampling is made from the atlas the first time a draw asks for it:
// from the texture's own place (the second of a page), with a mip chain whose last level is
// the whole image's mean, one texture each, and the atlas is left as it was.
TEST_F(TexturesTest, FilteredSamplingShowsTheTexturesOwnTexelsAndItsMips) {
    file("blue.png", encode(TestImage::filled(4, 4, 0xFF0000FF), "PNG"));
    file("quads.png", encode(quadrants(), "PNG"));
    ASSERT_EQ(loadMap("map.bd1", {"blue.png", "quads.png"}), std::vector<TextureFinding>{});
    const auto setFilter = [this](TextureFilter filter) {
        device->setTextureStageState(TextureStageState::MagFilter, filter);
        device->setTextureStageState(TextureStageState::MinFilter, filter);
        device->setTextureStageState(TextureStageState::MipFilter, filter);
    };
    setFilter(FilterLinear);
    frameOf([this] {
        draw(1); // both in one batch, each on a unit of its own
        draw(0, 50);
        draw(1, 100, 1); // the 16 x 16 texels on one pixel: the 1 x 1 level
    });
    for (int q = 0; q < 4; ++q) { // 16 texels over 40 pixels: a quadrant's middle is its colour
        EXPECT_EQ(pixel({0, 0}, 10 + 20 * (q % 2), 10 + 20 * (q / 2)), Quadrants[q]) << q;
    }
    EXPECT_EQ(pixel({0, 0}, 70, 20), (Rgb{0, 0, 255}));
    EXPECT_TRUE(testing::near(pixel({0, 0}, 100, 0), {128, 128, 128}, 1));
    setFilter(FilterNone);
    EXPECT_EQ(shown(0, 20, 20), (Rgb{0, 0, 255})) << "the atlas after the filtered copies";
    EXPECT_EQ(shown(1, 30, 30), Quadrants[3]) << "the atlas after the filtered copies";
}

// Each copy for filtered sampling is made through a framebuffer of its own, which goes with it;
// the copies go with the map's textures, and the atlas page they leave empty is filled again
// from its start.
TEST_F(TexturesTest, FilteredCopiesLeaveNoFramebufferOrTextureBehind) {
    const auto live = [](GLboolean (*exists)(GLuint)) {
        int count = 0;
        for (GLuint name = 1; name < 256; ++name) {
            count += exists(name) == GL_TRUE ? 1 : 0;
        }
        return count;
    };
    file("a.png", encode(TestImage::filled(4, 4, 0xFF0000FF), "PNG"));
    file("b.png", encode(quadrants(), "PNG"));
    ASSERT_EQ(loadMap("map.bd1", {"a.png", "b.png"}), std::vector<TextureFinding>{});
    frameOf([] {});
    const int framebuffers = live(glIsFramebuffer);
    const int textures = live(glIsTexture);
    device->setTextureStageState(TextureStageState::MinFilter, FilterLinear);
    frameOf([this] {
        draw(0);
        draw(1, 50);
    });
    EXPECT_EQ(live(glIsFramebuffer), framebuffers) << "framebuffers after two filtered copies";
    state.textures = {};
    EXPECT_EQ(live(glIsTexture), textures) << "textures once the map's are gone";
    ASSERT_EQ(loadMap("map.bd1", {"b.png"}), std::vector<TextureFinding>{});
    const auto* again = dynamic_cast<const GlTexture*>(state.textures[0].get());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->rect().x, 0) << "the reloaded texture's place on the emptied page";
}

TEST_F(TexturesTest, ATextureMayOutliveItsDevice) {
    // The device may go first: freeing its texture afterwards must not touch the dead context.
    // (Every other test frees the textures before the device.)
    auto kept =
        device->loadTexture(file("a.png", encode(TestImage::filled(8, 8, 0xFF804020), "PNG")));
    ASSERT_NE(kept, nullptr);
    device.reset();
    kept.reset();
}

} // namespace
} // namespace tavo
