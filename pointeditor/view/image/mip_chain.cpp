#include "pointeditor/view/image/mip_chain.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tavo {

namespace {

// The texels of the level above that one texel of a side covers, and how much of each. Measured
// in units of 1/to of a texel of the level above, so every weight is a whole number and the
// weights of one texel add up to `from`.
struct Span {
    int first = 0;
    int count = 0;
    std::array<uint64_t, 3> weights{};
};

std::vector<Span> spans(int from, int to) {
    std::vector<Span> result(static_cast<std::size_t>(to));
    for (int i = 0; i < to; ++i) {
        const int64_t begin = int64_t{i} * from;
        const int64_t end = begin + from;
        Span& span = result[static_cast<std::size_t>(i)];
        span.first = static_cast<int>(begin / to);
        for (int64_t j = span.first; j * to < end; ++j) {
            const int64_t covered = std::min(end, (j + 1) * to) - std::max(begin, j * to);
            span.weights[static_cast<std::size_t>(span.count++)] = static_cast<uint64_t>(covered);
        }
    }
    return result;
}

} // namespace

DecodedImage nextMipLevel(const DecodedImage& image) {
    DecodedImage next;
    next.width = std::max(1, image.width / 2);
    next.height = std::max(1, image.height / 2);
    next.pixels.resize(static_cast<std::size_t>(next.width) * next.height);
    const std::vector<Span> across = spans(image.width, next.width);
    const std::vector<Span> down = spans(image.height, next.height);
    const uint64_t area = static_cast<uint64_t>(image.width) * static_cast<uint64_t>(image.height);
    uint32_t* out = next.pixels.data();
    for (const Span& row : down) {
        for (const Span& column : across) {
            std::array<uint64_t, 4> sums{};
            for (int dy = 0; dy < row.count; ++dy) {
                const uint32_t* source =
                    image.pixels.data() + static_cast<std::size_t>(row.first + dy) *
                                              static_cast<std::size_t>(image.width);
                for (int dx = 0; dx < column.count; ++dx) {
                    const uint64_t weight = row.weights[static_cast<std::size_t>(dy)] *
                                            column.weights[static_cast<std::size_t>(dx)];
                    const uint32_t texel = source[column.first + dx];
                    for (std::size_t c = 0; c < 4; ++c) {
                        sums[c] += weight * ((texel >> (8 * c)) & 0xFF);
                    }
                }
            }
            uint32_t texel = 0;
            for (std::size_t c = 0; c < 4; ++c) {
                texel |= static_cast<uint32_t>((sums[c] + area / 2) / area) << (8 * c);
            }
            *out++ = texel;
        }
    }
    return next;
}

std::vector<DecodedImage> mipChain(const DecodedImage& image) {
    std::vector<DecodedImage> levels;
    const DecodedImage* above = &image;
    while (above->width > 1 || above->height > 1) {
        levels.push_back(nextMipLevel(*above));
        above = &levels.back();
    }
    return levels;
}

} // namespace tavo
