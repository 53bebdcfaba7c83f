// libFuzzer's own mutations, then every PNG chunk's CRC made right again: libpng refuses a
// critical chunk whose CRC is wrong before it looks at the chunk, so without this almost every
// mutated PNG would end at the first checksum.

#include <zlib.h>

#include <cstddef>
#include <cstdint>

extern "C" std::size_t LLVMFuzzerMutate(uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

uint32_t bigEndian(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// Walks the chunks after the signature (length, type, data, CRC) and rewrites each CRC that the
// input holds whole.
void fixChunkCrcs(uint8_t* data, std::size_t size) {
    constexpr std::size_t SignatureSize = 8;
    std::size_t at = SignatureSize;
    while (at + 12 <= size) {
        const uint32_t length = bigEndian(data + at);
        if (length > size - at - 12) {
            return;
        }
        const std::size_t crcAt = at + 8 + length;
        const auto crc = static_cast<uint32_t>(
            crc32(crc32(0, nullptr, 0), data + at + 4, static_cast<uInt>(length + 4)));
        for (std::size_t i = 0; i < 4; ++i) { // big-endian
            data[crcAt + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        }
        at = crcAt + 4;
    }
}

} // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    fixChunkCrcs(data, size);
    return size;
}
