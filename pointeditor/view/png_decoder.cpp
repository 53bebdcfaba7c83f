// PNG through libpng's simplified reader, which catches libpng's errors itself and reports them
// as a failed call; a truncated or corrupt stream therefore gives no image rather than a jump.

#include <png.h>

#include "pointeditor/view/image_decoder.h"

namespace tavo {

std::optional<DecodedImage> decodePng(std::span<const uint8_t> bytes) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()) == 0) {
        return std::nullopt;
    }
    if (png.width == 0 || png.height == 0 || png.width > MaxImageSide ||
        png.height > MaxImageSide) {
        png_image_free(&png);
        return std::nullopt;
    }
    // Little-endian B, G, R, A bytes are one 0xAARRGGBB word each.
    png.format = PNG_FORMAT_BGRA;
    DecodedImage image;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    if (png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr) == 0) {
        png_image_free(&png);
        return std::nullopt;
    }
    return image;
}

} // namespace tavo
