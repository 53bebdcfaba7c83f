#include "pointeditor/view/image/image_decoder.h"

#include <algorithm>
#include <array>

namespace tavo {

namespace {

enum class Format { Jpeg, Png, Tga, Other };

Format formatOf(std::span<const uint8_t> bytes) {
    static constexpr std::array<uint8_t, 3> jpegMagic = {0xFF, 0xD8, 0xFF};
    static constexpr std::array<uint8_t, 8> pngMagic = {0x89, 'P',  'N',  'G',
                                                        0x0D, 0x0A, 0x1A, 0x0A};
    auto startsWith = [bytes](std::span<const uint8_t> magic) {
        return bytes.size() >= magic.size() &&
               std::equal(magic.begin(), magic.end(), bytes.begin());
    };
    if (startsWith(jpegMagic)) {
        return Format::Jpeg;
    }
    if (startsWith(pngMagic)) {
        return Format::Png;
    }
    return isOwnTga(bytes) ? Format::Tga : Format::Other;
}

} // namespace

ImageHeader probeImage(std::span<const uint8_t> bytes) {
    ImageHeader header;
    switch (formatOf(bytes)) {
    case Format::Jpeg:
        header = probeJpeg(bytes);
        break;
    case Format::Png:
        header = probePng(bytes);
        break;
    case Format::Tga:
        header = probeTga(bytes);
        break;
    case Format::Other:
        header = probeWithImageReader(bytes);
        break;
    }
    if (header.problem == TextureProblem::None && (header.width <= 0 || header.height <= 0)) {
        header.problem = TextureProblem::Damaged;
    }
    if (header.problem == TextureProblem::None &&
        (header.width > MaxImageSide || header.height > MaxImageSide)) {
        header.problem = TextureProblem::OverBudget;
    }
    return header;
}

std::optional<DecodedImage> decodeImage(std::span<const uint8_t> bytes) {
    switch (formatOf(bytes)) {
    case Format::Jpeg:
        return decodeJpeg(bytes);
    case Format::Png:
        return decodePng(bytes);
    case Format::Tga:
        return decodeTga(bytes);
    case Format::Other:
        break;
    }
    return decodeWithImageReader(bytes);
}

} // namespace tavo
