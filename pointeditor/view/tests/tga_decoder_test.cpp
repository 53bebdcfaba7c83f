// The TGA kinds read by our own reader (colour-mapped, grey, run-length encoded): their texels
// against known values, the row and column orders, and damaged files refused without reading
// past their bytes.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "pointeditor/view/image/image_decoder.h"
#include "tests/support/image_writers.h"

namespace tavo {
namespace {

using testing::Bytes;
using testing::TgaLayout;
using Pixels = std::vector<uint32_t>;

// 5 x 3, rows top first: runs across row ends, lone pixels, two alphas. An odd width makes a
// packet that runs on into the next row start mid-row.
const Pixels Picture = {
    0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0x80102030, 0xFF00FF00, //
    0xFF00FF00, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFFFFFFFF, //
    0xFFFFFFFF, 0x80102030, 0x80102030, 0xFF0000FF, 0xFF0000FF,
};

// The image decoded as its width, height and texels; 0, 0 and none when the file is refused.
std::tuple<int, int, Pixels> decoded(std::span<const uint8_t> bytes) {
    const std::optional<DecodedImage> image = decodeImage(bytes);
    return image ? std::tuple(image->width, image->height, image->pixels)
                 : std::tuple(0, 0, Pixels{});
}

// A 15- or 16-bit channel of 31 is 255, of 2 (16 >> 3) is 16; the 16-bit alpha bit is the alpha
// when the descriptor counts an alpha bit.
TEST(TgaDecoder, EveryKindGivesTheStoredTexels) {
    const auto mapped = [](Pixels pixels, auto change) {
        std::transform(pixels.begin(), pixels.end(), pixels.begin(), change);
        return pixels;
    };
    const Pixels opaque24 = mapped(Picture, [](uint32_t argb) { return argb | 0xFF000000; });
    const Pixels fiveBits = // the half alphas cleared: the 16-bit alpha bit off
        mapped(Picture, [](uint32_t argb) { return argb >> 24 == 0x80 ? argb & 0xFFFFFF : argb; });
    const auto fiveBitTexels = [&](bool alpha) {
        return mapped(fiveBits, [alpha](uint32_t argb) {
            const uint32_t a = alpha ? (argb >> 31 != 0 ? 0xFF : 0) : 0xFF;
            // 0x10 -> 2 -> 0x10, 0x20 -> 4 -> 0x21, 0x30 -> 6 -> 0x31: the top bits repeated.
            return a << 24 | ((argb & 0xFFFFFF) == 0x102030 ? 0x102131 : argb & 0xFFFFFF);
        });
    };
    const Pixels greys = {0xFF000000, 0xFF000000, 0xFF000000, 0xFF7F7F7F, 0xFFFFFFFF, //
                          0xFF101010, 0xFF101010, 0xFF101010, 0xFF101010, 0xFF202020, //
                          0xFF303030, 0xFF404040, 0xFF404040, 0xFF404040, 0xFF404040};
    Pixels greyAlpha = greys;
    greyAlpha[3] = 0x407F7F7F;
    greyAlpha[14] = 0x00404040;
    // what, the pixels written, how, the texels read
    const std::tuple<const char*, Pixels, TgaLayout, Pixels> cases[] = {
        // clang-format off
        {"mapped, entries from 200", opaque24, {.type = 1, .depth = 8, .firstEntry = 200}, opaque24},
        {"RLE mapped, 32-bit entries", Picture,
         {.type = 9, .depth = 8, .mapBits = 32, .firstEntry = 7, .idLength = 1}, Picture},
        {"RLE mapped, 16-bit indices from 300", Picture,
         {.type = 9, .depth = 16, .mapBits = 32, .firstEntry = 300}, Picture},
        {"RLE mapped, 16-bit entries", fiveBits, {.type = 9, .depth = 8, .mapBits = 16},
         fiveBitTexels(true)},
        {"grey", greys, {.type = 3, .depth = 8}, greys},
        {"RLE grey", greys, {.type = 11, .depth = 8, .topDown = true}, greys},
        {"RLE grey with alpha", greyAlpha, {.type = 11, .depth = 16}, greyAlpha},
        {"RLE 15 bits: no alpha", fiveBits, {.type = 10, .depth = 15}, fiveBitTexels(false)},
        {"RLE 16 bits with an alpha bit", fiveBits, {.type = 10, .depth = 16}, fiveBitTexels(true)},
        {"RLE 24 bits, right column first", Picture,
         {.type = 10, .depth = 24, .rightToLeft = true}, opaque24},
        {"RLE 32 bits, right to left, top down", Picture,
         {.type = 10, .depth = 32, .topDown = true, .rightToLeft = true}, Picture},
        // clang-format on
    };
    for (const auto& [what, pixels, layout, texels] : cases) {
        SCOPED_TRACE(what);
        EXPECT_EQ(decoded(testing::tgaImageOf(5, 3, pixels, layout)), std::tuple(5, 3, texels));
    }
}

// A true-colour or grey file may carry a colour map it does not use: its entries, of whatever
// size, are passed over, each in whole bytes.
// `tga` given a colour map of `entries` of `bits` each, `bytes` long in all.
Bytes withUnusedMap(Bytes tga, uint8_t entries, uint8_t bits, std::size_t bytes) {
    tga[1] = 1;
    tga[5] = entries;
    tga[7] = bits;
    tga.insert(tga.begin() + 18, bytes, 0xEE);
    return tga;
}

TEST(TgaDecoder, AColourMapBeforeTrueColourOrGreyPixelsIsPassedOver) {
    for (const int entryBits : {15, 24, 32, 64, 255}) {
        SCOPED_TRACE(entryBits);
        const Bytes tga = withUnusedMap(
            testing::tgaImageOf(5, 3, Picture, {.type = 10, .depth = 32}), 3,
            static_cast<uint8_t>(entryBits), 3 * static_cast<std::size_t>((entryBits + 7) / 8));
        EXPECT_EQ(decoded(tga), std::tuple(5, 3, Picture));
    }
}

TEST(TgaDecoder, UncompressedTrueColourStaysWithQtsReader) {
    for (const int depth : {16, 24, 32}) {
        SCOPED_TRACE(depth);
        const Bytes tga = testing::tgaImageOf(5, 3, Picture, {.type = 2, .depth = depth});
        EXPECT_FALSE(isOwnTga(tga));
        EXPECT_TRUE(decodeImage(tga).has_value());
    }
    // Qt's reader counts a colour map as its length times the two bytes from its entry size
    // on, after the ID: this one ends exactly at the end of the file, so the file is not refused
    // as damaged (what Qt's reader makes of its pixels is its own).
    Bytes mapped =
        withUnusedMap(testing::tgaImageOf(1, 1, {0xFF102030}, {.type = 2, .depth = 24}), 1, 24, 3);
    mapped[9] = 1; // an x origin of 256: beyond the two bytes Qt's reader counts
    ASSERT_EQ(mapped.size(), 24u) << "one entry counted as 24 bytes";
    EXPECT_TRUE(decodeImage(mapped).has_value());
}

// A clear alpha bit is transparent only when the descriptor counts an alpha bit (the table's
// 16-bit rows count one).
TEST(TgaDecoder, SixteenBitsWithoutAnAlphaBitAreOpaque) {
    Bytes tga = testing::tgaImageOf(1, 1, {0x00FF0000}, {.type = 10, .depth = 16});
    tga[17] &= 0xF0; // no attribute bits
    EXPECT_EQ(decoded(tga), std::tuple(1, 1, Pixels{0xFFFF0000}));
}

// Each row spoils one thing of a good run-length file: 2 x 2, colour-mapped from index 4, top
// row first, the first packet a run of three, then one raw pixel.
TEST(TgaDecoder, DamagedFilesAreRefusedWithoutReadingPastThem) {
    const Pixels pixels = {0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFFFF0000};
    const Bytes good = testing::tgaImageOf(
        2, 2, pixels, {.type = 9, .depth = 8, .topDown = true, .firstEntry = 4});
    constexpr std::size_t Packets = 18 + 2 * 3; // the header, two map entries
    ASSERT_EQ(good.size(), Packets + 4) << "a run packet of 2 bytes, a raw one of 2";
    ASSERT_TRUE(decodeImage(good).has_value());
    const auto changed = [&good](std::size_t at, uint8_t value, const Bytes& more = {}) {
        Bytes bytes = good;
        bytes.at(at) = value;
        bytes.insert(bytes.end(), more.begin(), more.end());
        return bytes;
    };
    // what, the file, how much of it is given (the rest follows in memory, to be read by mistake)
    const std::tuple<const char*, Bytes, std::size_t> cases[] = {
        {"a run past the image", changed(Packets, 0x84), good.size()},
        {"a raw packet past the image, its pixels there", changed(Packets + 2, 0x01, {4}),
         Packets + 5},
        {"a raw packet past the file", good, Packets + 3},
        {"a run without its pixel", good, Packets + 1},
        {"a packet's header missing", good, Packets + 2},
        {"no pixels after the colour map", good, Packets},
        {"an index below the first entry", changed(Packets + 1, 3), good.size()},
        {"an index past the map", changed(Packets + 3, 6), good.size()},
    };
    for (const auto& [what, bytes, size] : cases) {
        SCOPED_TRACE(what);
        EXPECT_FALSE(decodeImage(std::span(bytes).first(size)).has_value());
        EXPECT_EQ(probeImage(std::span(bytes).first(size)).problem, TextureProblem::None)
            << "the header is whole";
    }
}

} // namespace
} // namespace tavo
