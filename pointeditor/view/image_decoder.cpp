#include "pointeditor/view/image_decoder.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace tavo {

namespace {

// Far beyond any texture a map uses; keeps a wrong path (a device, a huge file) cheap.
constexpr std::streamoff MaxImageFileBytes = 256 * 1024 * 1024;

bool startsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

} // namespace

std::optional<DecodedImage> decodeImage(std::span<const uint8_t> bytes) {
    static constexpr std::array<uint8_t, 3> jpegMagic = {0xFF, 0xD8, 0xFF};
    static constexpr std::array<uint8_t, 8> pngMagic = {0x89, 'P',  'N',  'G',
                                                        0x0D, 0x0A, 0x1A, 0x0A};
    if (startsWith(bytes, jpegMagic)) {
        return decodeJpeg(bytes);
    }
    if (startsWith(bytes, pngMagic)) {
        return decodePng(bytes);
    }
    return decodeWithImageReader(bytes);
}

std::optional<DecodedImage> decodeImageFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        return std::nullopt;
    }
    std::streamoff size = file.tellg();
    if (size <= 0 || size > MaxImageFileBytes) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) {
        return std::nullopt;
    }
    return decodeImage(bytes);
}

} // namespace tavo
