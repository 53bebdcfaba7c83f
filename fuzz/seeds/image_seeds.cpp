// Texture images: PNG and JPEG through the test image writers (any bit depth and colour type,
// CMYK, progressive, many scans), the sample mission's textures through Qt's writers in every
// format Qt writes, a TGA and the smallest GIF.

#include <QBuffer>
#include <QImageWriter>
#include <stdexcept>

#include "fuzz/seeds/seed_files.h"
#include "samples/sample_mission.h"
#include "tests/support/image_writers.h"

namespace tavo::fuzz {
namespace {

using testing::jpegOf;
using testing::pngOf;

std::vector<uint8_t> written(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        throw std::runtime_error(std::string("cannot write a ") + format + " seed");
    }
    return {bytes.begin(), bytes.end()};
}

// A sample texture cut to width x height in `format`.
QImage texture(int width, int height, QImage::Format format = QImage::Format_ARGB32) {
    return sample::sampleTextures()[1].image.copy(0, 0, width, height).convertToFormat(format);
}

} // namespace

std::vector<SeedFile> jpegImageSeeds() {
    return {
        {"one_pixel.jpg", jpegOf(1, 1, {200, 30, 60}, false)},
        {"grey.jpg", jpegOf(16, 16, {128}, false)},
        {"odd_size.jpg", jpegOf(37, 19, {10, 250, 90}, false)},
        {"progressive.jpg", jpegOf(64, 48, {70, 80, 90}, false, true)},
        {"cmyk.jpg", jpegOf(8, 8, {10, 20, 30, 40}, false)},
        {"cmyk_adobe.jpg", jpegOf(8, 8, {10, 20, 30, 40}, true)},
        {"forty_scans.jpg", testing::repeatedScans(16, 16, 40)},
        {"texture.jpg", written(texture(64, 64, QImage::Format_RGB32), "jpeg")},
    };
}

std::vector<SeedFile> pngImageSeeds() {
    return {
        {"one_pixel.png", pngOf(1, 1, 8, PNG_COLOR_TYPE_RGBA, {1, 2, 3, 4})},
        {"rgb.png", pngOf(16, 16, 8, PNG_COLOR_TYPE_RGB, {78, 117, 156})},
        {"one_bit_grey.png", pngOf(13, 7, 1, PNG_COLOR_TYPE_GRAY, {1})},
        {"grey_alpha.png", pngOf(9, 9, 8, PNG_COLOR_TYPE_GRAY_ALPHA, {90, 200})},
        {"sixteen_bit.png", pngOf(8, 8, 16, PNG_COLOR_TYPE_RGBA, {1000, 20000, 40000, 65535})},
        {"gamma.png", pngOf(4, 4, 8, PNG_COLOR_TYPE_RGB, {78, 117, 156}, 45455)},
        {"palette.png", written(texture(32, 32, QImage::Format_Indexed8), "png")},
        {"texture.png", written(texture(64, 64), "png")},
    };
}

std::vector<SeedFile> readerImageSeeds() {
    const QImage small = texture(12, 10);
    // 32 pixels across: a row of a 1-bit image then has no padding bits, which Qt leaves
    // unset and its writers read.
    const QImage mono = texture(32, 10, QImage::Format_Mono);
    // One pixel of a two-colour table, as LZW codes clear, 0, end in one block.
    const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1,    0,    0x80, 0,
                                      0,   255, 255, 255, 0,   0,   0, 0, 0x2C, 0,    0,    0,
                                      0,   1,   0,   1,   0,   0,   2, 2, 0x44, 0x01, 0,    0x3B};
    return {
        {"mono.bmp", written(mono, "bmp")},
        {"four_bit.bmp", written(mono.convertToFormat(QImage::Format_Indexed8), "bmp")},
        {"palette.bmp", written(texture(16, 16, QImage::Format_Indexed8), "bmp")},
        {"rgb.bmp", written(small, "bmp")},
        {"texture.bmp", written(texture(64, 64, QImage::Format_RGB32), "bmp")},
        {"one_pixel.gif", gif},
        {"icon.ico", written(texture(16, 16), "ico")},
        {"pixmap.ppm", written(small.convertToFormat(QImage::Format_RGB32), "ppm")},
        {"grey.pgm", written(small.convertToFormat(QImage::Format_Grayscale8), "pgm")},
        {"bitmap.pbm", written(mono, "pbm")},
        {"bitmap.xbm", written(mono, "xbm")},
        {"pixmap.xpm", written(small.convertToFormat(QImage::Format_Indexed8), "xpm")},
        {"true_colour.tga", testing::tgaOf(5, 3, 10, 20, 30)},
    };
}

} // namespace tavo::fuzz
