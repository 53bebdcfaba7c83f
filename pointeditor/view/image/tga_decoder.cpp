// The TGA kinds Qt's reader refuses: colour-mapped and grey images, plain or run-length encoded,
// and run-length encoded true colour, the way image tools save TGAs by default. Uncompressed
// true colour stays with Qt's reader, which has drawn those textures all along.
//
// Every length is checked against the bytes before it is read: a packet that runs past the
// image or past the end of the file leaves the image damaged.

#include <cstdint>
#include <optional>
#include <vector>

#include "pointeditor/view/image/image_decoder.h"

namespace tavo {

namespace {

constexpr std::size_t HeaderSize = 18;

enum TgaType : uint8_t {
    ColourMapped = 1,
    TrueColour = 2,
    Grey = 3,
    RunLength = 8, // added to one of the above
};

struct TgaHeader {
    std::size_t idLength = 0;
    bool hasMap = false;
    uint8_t type = 0;
    uint32_t firstEntry = 0;
    uint32_t mapLength = 0;
    int mapEntryBits = 0;
    int width = 0;
    int height = 0;
    int depth = 0;
    uint8_t descriptor = 0;

    bool runLength() const { return (type & RunLength) != 0; }
    uint8_t kind() const { return type & ~RunLength; }
    int attributeBits() const { return descriptor & 0x0F; }
    bool topDown() const { return (descriptor & 0x20) != 0; }
    bool rightToLeft() const { return (descriptor & 0x10) != 0; }
    std::size_t mapBytes() const {
        return hasMap ? std::size_t{mapLength} * static_cast<std::size_t>((mapEntryBits + 7) / 8)
                      : 0;
    }
    std::size_t pixelBytes() const { return static_cast<std::size_t>((depth + 7) / 8); }
};

uint32_t le16(std::span<const uint8_t> bytes, std::size_t at) {
    return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8;
}

bool colourDepth(int bits) {
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

// The header when it is one of the kinds read here, checked field by field.
std::optional<TgaHeader> tgaHeader(std::span<const uint8_t> bytes) {
    if (bytes.size() < HeaderSize || bytes[1] > 1) {
        return std::nullopt;
    }
    TgaHeader header;
    header.idLength = bytes[0];
    header.hasMap = bytes[1] == 1;
    header.type = bytes[2];
    header.firstEntry = le16(bytes, 3);
    header.mapLength = le16(bytes, 5);
    header.mapEntryBits = bytes[7];
    header.width = static_cast<int>(le16(bytes, 12));
    header.height = static_cast<int>(le16(bytes, 14));
    header.depth = bytes[16];
    header.descriptor = bytes[17];
    bool fits = false;
    switch (header.kind()) {
    case ColourMapped:
        fits = header.hasMap && colourDepth(header.mapEntryBits) &&
               (header.depth == 8 || header.depth == 16);
        break;
    case TrueColour: // uncompressed: Qt's reader's
        fits = header.runLength() && colourDepth(header.depth);
        break;
    case Grey: // grey alone, or grey then alpha
        fits = header.depth == 8 || header.depth == 16;
        break;
    default:
        break;
    }
    // An interleaved row order (the descriptor's top bits) is a kind no tool writes any more.
    if (!fits || header.type > (Grey | RunLength) || (header.descriptor & 0xC0) != 0 ||
        header.width == 0 || header.height == 0) {
        return std::nullopt;
    }
    return header;
}

uint8_t fiveBitsToEight(uint32_t value) {
    return static_cast<uint8_t>(value << 3 | value >> 2);
}

// One stored colour as ARGB: 15 and 16 bits are 5 bits a channel, the top bit of 16 the alpha
// when the descriptor counts an attribute bit; 24 bits B, G, R; 32 bits B, G, R, A.
uint32_t colourOf(const uint8_t* at, int bits, int attributeBits) {
    switch (bits) {
    case 15:
    case 16: {
        const uint32_t value = uint32_t{at[0]} | uint32_t{at[1]} << 8;
        const bool transparent = bits == 16 && attributeBits > 0 && (value & 0x8000) == 0;
        return (transparent ? 0u : 0xFF000000u) |
               uint32_t{fiveBitsToEight(value >> 10 & 31)} << 16 |
               uint32_t{fiveBitsToEight(value >> 5 & 31)} << 8 | fiveBitsToEight(value & 31);
    }
    case 24:
        return 0xFF000000u | uint32_t{at[2]} << 16 | uint32_t{at[1]} << 8 | at[0];
    default:
        return uint32_t{at[3]} << 24 | uint32_t{at[2]} << 16 | uint32_t{at[1]} << 8 | at[0];
    }
}

// Turns the stored pixel values into texels: through the colour map, as grey, or as colour.
class PixelReader {
public:
    PixelReader(const TgaHeader& header, std::span<const uint8_t> map) : header_(header) {
        if (header.kind() == ColourMapped) {
            const std::size_t entryBytes = static_cast<std::size_t>((header.mapEntryBits + 7) / 8);
            for (std::size_t i = 0; i < header.mapLength; ++i) {
                palette_.push_back(colourOf(map.data() + i * entryBytes, header.mapEntryBits,
                                            header.attributeBits()));
            }
        }
    }

    // The texel of the pixel at `at`, or nothing for an index outside the colour map.
    std::optional<uint32_t> texel(const uint8_t* at) const {
        switch (header_.kind()) {
        case ColourMapped: {
            const uint32_t index = header_.depth == 8 ? at[0] : uint32_t{at[0]} | at[1] << 8;
            if (index < header_.firstEntry || index - header_.firstEntry >= palette_.size()) {
                return std::nullopt;
            }
            return palette_[index - header_.firstEntry];
        }
        case Grey: {
            const uint32_t alpha = header_.depth == 16 ? at[1] : 0xFF;
            return alpha << 24 | at[0] * 0x010101u;
        }
        default:
            return colourOf(at, header_.depth, header_.attributeBits());
        }
    }

private:
    const TgaHeader& header_;
    std::vector<uint32_t> palette_;
};

// Places the pixels in stored order (the first stored row is the bottom one unless the
// descriptor says top first) into an image with rows top first.
class PixelPlacer {
public:
    explicit PixelPlacer(const TgaHeader& header) : header_(header) {
        image.width = header.width;
        image.height = header.height;
        image.pixels.resize(count());
    }

    std::size_t count() const { return static_cast<std::size_t>(header_.width) * header_.height; }

    void place(std::size_t stored, uint32_t texel) {
        const std::size_t width = static_cast<std::size_t>(header_.width);
        std::size_t row = stored / width;
        std::size_t column = stored % width;
        if (!header_.topDown()) {
            row = static_cast<std::size_t>(header_.height) - 1 - row;
        }
        if (header_.rightToLeft()) {
            column = width - 1 - column;
        }
        image.pixels[row * width + column] = texel;
    }

    DecodedImage image;

private:
    const TgaHeader& header_;
};

// The pixel data after the header, the image ID and the colour map, read packet by packet
// (run-length) or all at once.
bool readPixels(const TgaHeader& header, std::span<const uint8_t> data, const PixelReader& reader,
                PixelPlacer& placer) {
    const std::size_t pixelBytes = header.pixelBytes();
    const std::size_t total = placer.count();
    std::size_t at = 0;
    std::size_t done = 0;
    while (done < total) {
        std::size_t count = total;
        bool repeated = false;
        if (header.runLength()) {
            if (at >= data.size()) {
                return false;
            }
            count = (data[at] & 0x7Fu) + 1;
            repeated = (data[at] & 0x80u) != 0;
            ++at;
            if (count > total - done) {
                return false; // the packet runs past the image
            }
        }
        const std::size_t stored = repeated ? pixelBytes : count * pixelBytes;
        if (stored > data.size() - at) {
            return false; // the packet runs past the file
        }
        for (std::size_t i = 0; i < count; ++i) {
            const std::optional<uint32_t> texel =
                reader.texel(data.data() + at + (repeated ? 0 : i * pixelBytes));
            if (!texel) {
                return false;
            }
            placer.place(done + i, *texel);
        }
        at += stored;
        done += count;
    }
    return true;
}

// Where the pixel data starts, or nothing when the ID or the colour map runs past the file.
std::optional<std::size_t> pixelStart(const TgaHeader& header, std::size_t fileSize) {
    const std::size_t start = HeaderSize + header.idLength + header.mapBytes();
    return start <= fileSize ? std::optional(start) : std::nullopt;
}

} // namespace

bool isOwnTga(std::span<const uint8_t> bytes) {
    return tgaHeader(bytes).has_value();
}

ImageHeader probeTga(std::span<const uint8_t> bytes) {
    const std::optional<TgaHeader> header = tgaHeader(bytes);
    if (!header) {
        return {0, 0, TextureProblem::Unsupported};
    }
    if (!pixelStart(*header, bytes.size())) {
        return {0, 0, TextureProblem::Damaged};
    }
    return {header->width, header->height, TextureProblem::None};
}

std::optional<DecodedImage> decodeTga(std::span<const uint8_t> bytes) {
    const std::optional<TgaHeader> header = tgaHeader(bytes);
    if (!header || header->width > MaxImageSide || header->height > MaxImageSide) {
        return std::nullopt;
    }
    const std::optional<std::size_t> start = pixelStart(*header, bytes.size());
    if (!start) {
        return std::nullopt;
    }
    const PixelReader reader(*header, bytes.subspan(*start - header->mapBytes()));
    PixelPlacer placer(*header);
    if (!readPixels(*header, bytes.subspan(*start), reader, placer)) {
        return std::nullopt;
    }
    return std::move(placer.image);
}

} // namespace tavo
