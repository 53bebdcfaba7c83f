// The formats other than JPEG and PNG that a map may name (BMP above all) through Qt's image
// reader, which needs no application object for them.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstring>

#include "pointeditor/view/image_decoder.h"

namespace tavo {

std::optional<DecodedImage> decodeWithImageReader(std::span<const uint8_t> bytes) {
    if (bytes.empty()) {
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
