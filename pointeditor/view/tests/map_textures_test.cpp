// Loading a map's textures through the real device: the formats that load, the slots that keep
// what they held (empty names, missing and broken files), and a second map over a first.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "gl_fixture.h"
#include "image_files.h"
#include "pointeditor/data/block_file.h"
#include "pointeditor/view/device.h"
#include "tests/support/fake_platform.h"

namespace tavo {
namespace {

using testing::Rgb;
using testing::TestImage;

// A .bd1 with the given texture names and no blocks, written byte by byte.
std::vector<uint8_t> mapNaming(const std::vector<std::string>& names) {
    std::vector<uint8_t> bytes(TextureCount * TextureNameSize + 2, 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::memcpy(bytes.data() + i * TextureNameSize, names[i].data(), names[i].size());
    }
    return bytes;
}

class MapTexturesTest : public testing::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        state.window = &platform;
    }
    void TearDown() override {
        GlTest::TearDown();
        std::filesystem::remove_all(dir);
    }

    void write(const std::string& name, const std::vector<uint8_t>& bytes) {
        testing::writeFile(dir + "/" + name, bytes);
    }
    void loadMap(const std::string& file, const std::vector<std::string>& names) {
        write(file, mapNaming(names));
        ASSERT_TRUE(loadBlockFile(state, dir + "/" + file));
    }

    // The colour that the texture in `slot` shows at the centre of a quad drawn with it.
    Rgb shown(int slot) {
        device->setRenderState(RenderState::CullMode, CullNone);
        device->beginScene();
        device->clear(ClearTarget | ClearZBuffer, 0xFF000000, 1.0f);
        device->setTexture(state.textures[static_cast<std::size_t>(slot)].get());
        PaneVertex v[4] = {{40, 0, 0, 1, 0xFFFFFFFF, 1, 0},
                           {40, 40, 0, 1, 0xFFFFFFFF, 1, 1},
                           {0, 40, 0, 1, 0xFFFFFFFF, 0, 1},
                           {0, 0, 0, 1, 0xFFFFFFFF, 0, 0}};
        device->drawPrimitiveUP(PrimitiveType::TriangleFan, 2, v);
        device->endScene();
        device->present(0, 0);
        return pixel(0, 0, 20, 20);
    }

    std::string dir = testing::makeTempDir();
    testing::FakePlatform platform;
};

TEST_F(MapTexturesTest, JpegPngAndBmpLoadWithTheirColours) {
    write("wall.jpg", testing::encodeJpeg(TestImage::filled(16, 16, 0xFFC83214), 100));
    write("floor.png", testing::encodePng(TestImage::filled(4, 4, 0xFF10A0F0)));
    write("Brick.BMP", testing::encodeBmp(TestImage::filled(3, 3, 0xFF7F00FF)));
    loadMap("town.bd1", {"wall.jpg", "floor.png", "brick.bmp"});
    ASSERT_NE(state.textures[0], nullptr);
    ASSERT_NE(state.textures[1], nullptr);
    ASSERT_NE(state.textures[2], nullptr);
    EXPECT_TRUE(testing::near(shown(0), Rgb{0xC8, 0x32, 0x14}, 3));
    EXPECT_EQ(shown(1), (Rgb{0x10, 0xA0, 0xF0}));
    EXPECT_EQ(shown(2), (Rgb{0x7F, 0x00, 0xFF}));
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(MapTexturesTest, SlotsWhoseImageIsMissingEmptyOrBrokenKeepWhatTheyHeld) {
    std::vector<uint8_t> jpeg = testing::encodeJpeg(TestImage::filled(32, 32, 0xFF00FF00), 90);
    std::vector<uint8_t> png = testing::encodePng(TestImage::filled(32, 32, 0xFF00FF00));
    write("good.png", png);
    loadMap("first.bd1", {"good.png", "good.png", "good.png", "good.png", "good.png"});
    const Texture* before[5];
    for (int i = 0; i < 5; ++i) {
        ASSERT_NE(state.textures[static_cast<std::size_t>(i)], nullptr);
        before[i] = state.textures[static_cast<std::size_t>(i)].get();
    }

    write("cut.jpg", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2));
    write("cut.png", std::vector<uint8_t>(png.begin(), png.begin() + png.size() / 2));
    write("notes.png", {'n', 'o', 't', 'e', 's'});
    loadMap("second.bd1", {"", "missing.png", "cut.jpg", "cut.png", "notes.png"});
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(state.textures[static_cast<std::size_t>(i)].get(), before[i]) << i;
    }
    EXPECT_EQ(shown(2), (Rgb{0, 255, 0}));
    // A fresh state gets nothing from the same map.
    EditorState fresh;
    fresh.textureLoader = device.get();
    fresh.window = &platform;
    ASSERT_TRUE(loadBlockFile(fresh, dir + "/second.bd1"));
    for (const auto& texture : fresh.textures) {
        EXPECT_EQ(texture, nullptr);
    }
}

TEST_F(MapTexturesTest, ASecondMapReplacesWhatLoadsAndKeepsTheFirstMapsOtherwise) {
    write("a.png", testing::encodePng(TestImage::filled(4, 4, 0xFFFF0000)));
    write("b.png", testing::encodePng(TestImage::filled(4, 4, 0xFF0000FF)));
    loadMap("one.bd1", {"a.png", "a.png"});
    loadMap("two.bd1", {"b.png", "gone.png"});
    EXPECT_EQ(shown(0), (Rgb{0, 0, 255}));
    EXPECT_EQ(shown(1), (Rgb{255, 0, 0}));
}

} // namespace
} // namespace tavo
