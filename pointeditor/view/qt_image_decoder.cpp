// The formats other than JPEG and PNG that a map may name (BMP above all, TGA, GIF) through
// Qt's image reader and its plugins, which need no application object for them.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstdint>
#include <cstring>

#include "pointeditor/view/image_decoder.h"

namespace tavo {

namespace {

uint32_t readLe(std::span<const uint8_t> bytes, std::size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

// Qt's reader fills the rows missing from a cut-off BMP and calls it a success; an image that
// lost part of its pixels must not replace a good texture, so uncompressed BMPs are measured
// against their header first.
bool bmpComplete(std::span<const uint8_t> bytes) {
    constexpr std::size_t InfoHeaderEnd = 54;
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
        return true; // not a BMP: the reader judges it
    }
    if (bytes.size() < InfoHeaderEnd || readLe(bytes, 14, 4) < 40) {
        return false;
    }
    uint64_t pixelOffset = readLe(bytes, 10, 4);
    auto width = static_cast<int32_t>(readLe(bytes, 18, 4));
    auto height = static_cast<int32_t>(readLe(bytes, 22, 4));
    uint64_t bitsPerPixel = readLe(bytes, 28, 2);
    uint32_t compression = readLe(bytes, 30, 4);
    constexpr uint32_t Uncompressed = 0;
    constexpr uint32_t BitFields = 3;
    if (compression != Uncompressed && compression != BitFields) {
        return true;
    }
    if (width <= 0 || height == 0 || height == INT32_MIN) {
        return false;
    }
    uint64_t rowBytes = (static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
    uint64_t rows = static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height);
    return pixelOffset + rowBytes * rows <= bytes.size();
}

} // namespace

ImageHeader probeWithImageReader(std::span<const uint8_t> bytes) {
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    if (bytes.empty() || !buffer.open(QIODevice::ReadOnly)) {
        return {0, 0, TextureProblem::Unsupported};
    }
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) {
        return {0, 0, TextureProblem::Unsupported};
    }
    QSize size = reader.size();
    if (!size.isValid() || !bmpComplete(bytes)) {
        return {0, 0, TextureProblem::Damaged};
    }
    return {size.width(), size.height(), TextureProblem::None};
}

std::optional<DecodedImage> decodeWithImageReader(std::span<const uint8_t> bytes) {
    if (bytes.empty() || !bmpComplete(bytes)) {
        return std::nullopt;
    }
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    QSize size = reader.size();
    if (!size.isValid() || size.width() <= 0 || size.height() <= 0 || size.width() > MaxImageSide ||
        size.height() > MaxImageSide) {
        return std::nullopt;
    }
    QImage picture;
    // The size a reader announces is not always what it reads: a GIF announces its first frame
    // and reads the whole logical screen, which may be far larger.
    if (!reader.read(&picture) || picture.isNull() || picture.width() > MaxImageSide ||
        picture.height() > MaxImageSide) {
        return std::nullopt;
    }
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    DecodedImage image;
    image.width = picture.width();
    image.height = picture.height();
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(image.pixels.data() + static_cast<std::size_t>(y) * image.width,
                    picture.constScanLine(y), static_cast<std::size_t>(image.width) * 4);
    }
    return image;
}

} // namespace tavo
