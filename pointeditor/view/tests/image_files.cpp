#include "image_files.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace tavo::testing {

namespace {

std::vector<uint8_t> encode(const TestImage& image, QImage::Format format, const char* type,
                            int quality = -1) {
    QImage picture(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                   image.width * 4, QImage::Format_ARGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.convertToFormat(format).save(&buffer, type, quality)) {
        throw std::runtime_error(std::string("cannot write ") + type);
    }
    return {bytes.begin(), bytes.end()};
}

} // namespace

TestImage TestImage::filled(int width, int height, uint32_t argb) {
    TestImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height, argb);
    return image;
}

std::vector<uint8_t> encodePng(const TestImage& image) {
    return encode(image, QImage::Format_ARGB32, "PNG");
}

std::vector<uint8_t> encodeJpeg(const TestImage& image, int quality) {
    return encode(image, QImage::Format_RGB32, "JPG", quality);
}

std::vector<uint8_t> encodeBmp(const TestImage& image) {
    return encode(image, QImage::Format_RGB888, "BMP");
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::string makeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavo-view-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp");
    }
    return pattern;
}

} // namespace tavo::testing
