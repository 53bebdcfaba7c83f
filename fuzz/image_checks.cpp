// Texture images through the decoders the device uses: by their own decoder, and by the
// dispatch on the first bytes when they carry the format's mark, as a texture file does.

#include <algorithm>

#include "fuzz/check.h"
#include "fuzz/reader_checks.h"
#include "pointeditor/view/image/image_decoder.h"

namespace tavo::fuzz {
namespace {

bool starts(std::span<const uint8_t> bytes, std::initializer_list<uint8_t> mark) {
    return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

// Whatever a decoder gives is a whole image within the size the device takes.
void checkImage(const std::optional<DecodedImage>& image) {
    if (!image) {
        return;
    }
    FUZZ_REQUIRE(image->width >= 1 && image->width <= MaxImageSide);
    FUZZ_REQUIRE(image->height >= 1 && image->height <= MaxImageSide);
    FUZZ_REQUIRE(image->pixels.size() ==
                 static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height));
}

} // namespace

void checkJpegImage(std::span<const uint8_t> bytes) {
    std::optional<DecodedImage> image =
        starts(bytes, {0xFF, 0xD8, 0xFF}) ? decodeImage(bytes) : decodeJpeg(bytes);
    checkImage(image);
    // A JPEG has no transparency: every texel of its texture is opaque.
    if (image) {
        FUZZ_REQUIRE(std::all_of(image->pixels.begin(), image->pixels.end(),
                                 [](uint32_t argb) { return argb >> 24 == 0xFF; }));
    }
}

void checkPngImage(std::span<const uint8_t> bytes) {
    checkImage(starts(bytes, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}) ? decodeImage(bytes)
                                                                            : decodePng(bytes));
}

void checkReaderImage(std::span<const uint8_t> bytes) {
    const bool other = !starts(bytes, {0xFF, 0xD8, 0xFF}) && !starts(bytes, {0x89, 'P', 'N', 'G'});
    const std::optional<DecodedImage> image =
        other ? decodeImage(bytes) : decodeWithImageReader(bytes);
    checkImage(image);
    // Our TGA reader gives exactly the size the header probe counted against the budget.
    if (image && other && isOwnTga(bytes)) {
        const ImageHeader header = probeImage(bytes);
        FUZZ_REQUIRE(header.problem == TextureProblem::None);
        FUZZ_REQUIRE(header.width == image->width && header.height == image->height);
    }
}

} // namespace tavo::fuzz
