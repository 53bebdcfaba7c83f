#pragma once
// Texture images from bytes: JPEG through libjpeg, PNG through libpng, the TGA kinds Qt cannot
// read (colour-mapped, grey, run-length encoded) by a reader of our own, anything else (BMP, GIF,
// uncompressed true-colour TGA, TIFF, WebP) through Qt's image reader. The format is told by the
// bytes, not by the file name. A texel is the stored sample scaled to 8 bits: no gamma or
// colour-profile conversion. Every failure is an empty result; no decoder ever ends the process.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "pointeditor/data/texture.h"

namespace tavo {

// Larger images are refused from their header, before any pixel memory is taken.
inline constexpr int MaxImageSide = 8192;

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // ARGB (0xAARRGGBB), rows top first
};

// What a header announces, read without decoding any pixel: the size, or why the bytes cannot
// be a texture (Unsupported: no decoder knows them; Damaged: a known format with a broken
// header; OverBudget: a side above MaxImageSide).
struct ImageHeader {
    int width = 0;
    int height = 0;
    TextureProblem problem = TextureProblem::None;
};
ImageHeader probeImage(std::span<const uint8_t> bytes);

std::optional<DecodedImage> decodeImage(std::span<const uint8_t> bytes);

std::optional<DecodedImage> decodeJpeg(std::span<const uint8_t> bytes);
std::optional<DecodedImage> decodePng(std::span<const uint8_t> bytes);
std::optional<DecodedImage> decodeTga(std::span<const uint8_t> bytes);
std::optional<DecodedImage> decodeWithImageReader(std::span<const uint8_t> bytes);

// The headers of the decoders above; each checks that the bytes are its own format.
ImageHeader probeJpeg(std::span<const uint8_t> bytes);
ImageHeader probePng(std::span<const uint8_t> bytes);
ImageHeader probeTga(std::span<const uint8_t> bytes);
ImageHeader probeWithImageReader(std::span<const uint8_t> bytes);

// A TGA has no magic: a header whose fields make sense for one of decodeTga's kinds makes one.
bool isOwnTga(std::span<const uint8_t> bytes);

} // namespace tavo
