// The formats other than JPEG, PNG and our own TGA kinds that a map may name (BMP above all,
// uncompressed true-colour TGA, GIF) through Qt's image reader and its plugins, which need no
// application object for them.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstdint>
#include <cstring>

#include "pointeditor/view/image/image_decoder.h"
#include "pointeditor/view/image/qt_messages_muted.h"

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

constexpr char TgaSignature[] = "TRUEVISION-XFILE."; // the footer's end, with its NUL

// A header that reads as a TGA of a kind Qt knows (no magic marks the format).
bool looksLikeTga(std::span<const uint8_t> bytes) {
    constexpr std::size_t HeaderSize = 18;
    if (bytes.size() < HeaderSize || bytes[1] > 1) {
        return false;
    }
    const uint8_t type = bytes[2] & 0xF7; // without the run-length bit
    const uint8_t depth = bytes[16];
    bool mapped = bytes[1] == 1;
    bool typeFits = type == 2 || type == 3 || (type == 1 && mapped);
    bool depthFits = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    return typeFits && depthFits && readLe(bytes, 12, 2) > 0 && readLe(bytes, 14, 2) > 0;
}

// Qt's TGA reader skips a colour map one byte at a time, counting the map's length times the
// two bytes from its entry size on (in an int): eighteen bytes of header can ask for billions of
// reads, or for a negative count that runs until it wraps. A map that does not fit in the file
// that way leaves the file damaged before the reader sees it.
bool tgaColourMapFits(std::span<const uint8_t> bytes) {
    constexpr std::size_t HeaderSize = 18;
    if (bytes.size() < HeaderSize || bytes[1] != 1) {
        return true; // no colour map
    }
    const uint64_t skipped = bytes[0] + uint64_t{readLe(bytes, 5, 2)} * readLe(bytes, 7, 2);
    return skipped <= bytes.size();
}

// Qt's TGA reader takes only files that end in the TGA 2.0 footer, which most TGA files, those
// of older tools among them, lack. They get an empty one (no extension or developer area).
QByteArray tgaWithFooter(std::span<const uint8_t> bytes) {
    QByteArray data(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
    QByteArray signature(TgaSignature, sizeof TgaSignature);
    if (!data.endsWith(signature)) {
        data.append(QByteArray(8, '\0')).append(signature);
    }
    return data;
}

// Qt's GIF reader announces the first frame's size but draws every frame onto the logical
// screen, which it allocates whole, however small the frames: the screen is what counts. A side
// given as 0 takes the frame's extent, as the reader announces it.
QSize gifScreen(std::span<const uint8_t> bytes, QSize announced) {
    constexpr std::size_t ScreenEnd = 10;
    const bool gif = bytes.size() >= ScreenEnd && (std::memcmp(bytes.data(), "GIF87a", 6) == 0 ||
                                                   std::memcmp(bytes.data(), "GIF89a", 6) == 0);
    if (!gif) {
        return announced;
    }
    const auto width = static_cast<int>(readLe(bytes, 6, 2));
    const auto height = static_cast<int>(readLe(bytes, 8, 2));
    return {width > 0 ? width : announced.width(), height > 0 ? height : announced.height()};
}

// A reader over the bytes, told the format where its content cannot tell it.
class ImageSource {
public:
    explicit ImageSource(std::span<const uint8_t> bytes) {
        bool tga = looksLikeTga(bytes);
        data_ = tga ? tgaWithFooter(bytes)
                    : QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
        buffer_.setBuffer(&data_);
        open_ = !bytes.empty() && buffer_.open(QIODevice::ReadOnly);
        reader_.setDevice(&buffer_);
        if (tga) {
            reader_.setFormat("tga");
        } else {
            reader_.setDecideFormatFromContent(true);
        }
    }
    ImageSource(const ImageSource&) = delete;
    ImageSource& operator=(const ImageSource&) = delete;

    bool open() const { return open_; }
    QImageReader& reader() { return reader_; }

private:
    QByteArray data_;
    QBuffer buffer_;
    QImageReader reader_;
    bool open_ = false;
};

} // namespace

ImageHeader probeWithImageReader(std::span<const uint8_t> bytes) {
    const QtMessagesMuted muted;
    ImageSource source(bytes);
    if (!source.open() || !source.reader().canRead()) {
        return {0, 0, TextureProblem::Unsupported};
    }
    const QSize size = gifScreen(bytes, source.reader().size());
    if (!size.isValid() || !bmpComplete(bytes) || !tgaColourMapFits(bytes)) {
        return {0, 0, TextureProblem::Damaged};
    }
    return {size.width(), size.height(), TextureProblem::None};
}

std::optional<DecodedImage> decodeWithImageReader(std::span<const uint8_t> bytes) {
    if (bytes.empty() || !bmpComplete(bytes) || !tgaColourMapFits(bytes)) {
        return std::nullopt;
    }
    const QtMessagesMuted muted;
    ImageSource source(bytes);
    if (!source.open()) {
        return std::nullopt;
    }
    QImageReader& reader = source.reader();
    const QSize size = gifScreen(bytes, reader.size());
    if (!size.isValid() || size.width() <= 0 || size.height() <= 0 || size.width() > MaxImageSide ||
        size.height() > MaxImageSide) {
        return std::nullopt;
    }
    QImage picture;
    // The size a reader announces is not always what it reads (a GIF's screen is counted
    // above, but a plugin may do the like).
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
