#pragma once
// Texture images from files: JPEG through libjpeg, PNG through libpng, anything else (BMP, GIF,
// TGA where a plugin exists) through Qt's image reader. The format is told by the bytes, not by
// the file name. Every failure is an empty result; no decoder ever ends the process.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tavo {

// Larger images are refused before any pixel memory is taken.
inline constexpr int MaxImageSide = 8192;

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // ARGB (0xAARRGGBB), rows top first
};

std::optional<DecodedImage> decodeImage(std::span<const uint8_t> bytes);
std::optional<DecodedImage> decodeImageFile(const std::string& path);

std::optional<DecodedImage> decodeJpeg(std::span<const uint8_t> bytes);
std::optional<DecodedImage> decodePng(std::span<const uint8_t> bytes);
std::optional<DecodedImage> decodeWithImageReader(std::span<const uint8_t> bytes);

} // namespace tavo
