#pragma once
// Image files made by the tests themselves: every texture a test loads is written here first.

#include <QBuffer>
#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

namespace tavo::testing {

struct TestImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // ARGB, rows top first

    static TestImage filled(int width, int height, uint32_t argb) {
        return {width, height,
                std::vector<uint32_t>(static_cast<std::size_t>(width) * height, argb)};
    }
    uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// `type` "PNG" (8-bit RGBA), "JPG" (RGB, quality 100) or "BMP" (24-bit, bottom-up rows).
inline std::vector<uint8_t> encode(const TestImage& image, const std::string& type) {
    QImage picture(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                   image.width * 4, QImage::Format_ARGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    auto format = type == "PNG"   ? QImage::Format_ARGB32
                  : type == "JPG" ? QImage::Format_RGB32
                                  : QImage::Format_RGB888;
    picture.convertToFormat(format).save(&buffer, type.c_str(), type == "JPG" ? 100 : -1);
    return {bytes.begin(), bytes.end()};
}

} // namespace tavo::testing
