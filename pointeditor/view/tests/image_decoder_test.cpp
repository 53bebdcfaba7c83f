// Decoding texture files: the right texels from JPEG, PNG and BMP files made here, and no image
// (never a crash or an exit) from truncated, corrupt or unknown data.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "image_files.h"
#include "pointeditor/view/image_decoder.h"

namespace tavo {
namespace {

using testing::TestImage;

int channel(uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

// Four 8 x 8 quadrants: red, green, blue, white.
TestImage quadrants() {
    TestImage image = TestImage::filled(16, 16, 0xFFFF0000);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (x >= 8 && y < 8) {
                image.at(x, y) = 0xFF00FF00;
            } else if (x < 8 && y >= 8) {
                image.at(x, y) = 0xFF0000FF;
            } else if (x >= 8 && y >= 8) {
                image.at(x, y) = 0xFFFFFFFF;
            }
        }
    }
    return image;
}

TEST(ImageDecoder, JpegGivesItsColoursOpaqueAtItsSize) {
    auto image = decodeImage(testing::encodeJpeg(quadrants(), 100));
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 16);
    ASSERT_EQ(image->height, 16);
    auto expectNear = [&](int x, int y, uint32_t expected) {
        uint32_t p = image->pixels[static_cast<std::size_t>(y * 16 + x)];
        EXPECT_EQ(p >> 24, 0xFFu);
        for (int shift : {16, 8, 0}) {
            EXPECT_NEAR(channel(p, shift), channel(expected, shift), 4) << x << "," << y;
        }
    };
    expectNear(3, 3, 0xFFFF0000);
    expectNear(12, 3, 0xFF00FF00);
    expectNear(3, 12, 0xFF0000FF);
    expectNear(12, 12, 0xFFFFFFFF);
}

TEST(ImageDecoder, PngKeepsEveryTexelAndItsAlpha) {
    TestImage source = quadrants();
    source.at(1, 2) = 0x80123456;
    source.at(15, 15) = 0x00000000;
    auto image = decodeImage(testing::encodePng(source));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 16);
    EXPECT_EQ(image->pixels, source.pixels);
}

TEST(ImageDecoder, BmpWithPaddedRowsComesOutTopRowFirst) {
    TestImage source = TestImage::filled(3, 2, 0xFF102030);
    source.at(0, 0) = 0xFFFF0000;
    source.at(2, 1) = 0xFF0000FF;
    auto image = decodeImage(testing::encodeBmp(source));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->pixels, source.pixels);
}

TEST(ImageDecoder, TheContentNotTheNameTellsTheFormat) {
    std::string dir = testing::makeTempDir();
    std::string path = dir + "/looks_like.jpg";
    testing::writeFile(path, testing::encodePng(TestImage::filled(2, 2, 0xFF445566)));
    auto image = decodeImageFile(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[3], 0xFF445566u);
    EXPECT_FALSE(decodeImageFile(dir + "/no_such_file.png"));
    EXPECT_FALSE(decodeImageFile(dir)); // a directory
    std::filesystem::remove_all(dir);
}

TEST(ImageDecoder, TruncatedCorruptAndUnknownDataGiveNoImage) {
    std::vector<uint8_t> jpeg = testing::encodeJpeg(quadrants(), 90);
    std::vector<uint8_t> png = testing::encodePng(quadrants());
    std::vector<uint8_t> bmp = testing::encodeBmp(quadrants());

    for (std::size_t keep : {jpeg.size() / 2, jpeg.size() - 2, std::size_t{3}, std::size_t{200}}) {
        std::vector<uint8_t> cut(jpeg.begin(), jpeg.begin() + static_cast<long>(keep));
        EXPECT_FALSE(decodeImage(cut)) << "jpeg cut to " << keep;
    }
    for (std::size_t keep : {png.size() / 2, png.size() - 20, std::size_t{8}, std::size_t{40}}) {
        std::vector<uint8_t> cut(png.begin(), png.begin() + static_cast<long>(keep));
        EXPECT_FALSE(decodeImage(cut)) << "png cut to " << keep;
    }
    std::vector<uint8_t> cutBmp(bmp.begin(), bmp.begin() + 60);
    EXPECT_FALSE(decodeImage(cutBmp));

    std::vector<uint8_t> corruptPng = png;
    corruptPng[png.size() / 2] ^= 0xFF; // inside the compressed data: the checksum fails
    EXPECT_FALSE(decodeImage(corruptPng));

    std::vector<uint8_t> corruptJpeg = jpeg;
    for (std::size_t i = 2; i < 40; ++i) {
        corruptJpeg[i] = 0xFF; // the headers become nonsense
    }
    EXPECT_FALSE(decodeImage(corruptJpeg));

    EXPECT_FALSE(decodeImage({}));
    std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o', '\n'};
    EXPECT_FALSE(decodeImage(text));
}

TEST(ImageDecoder, ABmpClaimingMorePixelsThanItHoldsIsRefused) {
    std::vector<uint8_t> bmp = testing::encodeBmp(TestImage::filled(2, 2, 0xFF000000));
    // Width field at offset 18: claim 100000 pixels across.
    bmp[18] = 0xA0;
    bmp[19] = 0x86;
    bmp[20] = 0x01;
    bmp[21] = 0x00;
    EXPECT_FALSE(decodeImage(bmp));
}

} // namespace
} // namespace tavo
