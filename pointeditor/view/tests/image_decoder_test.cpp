// What the header probe counts before any pixel is read, the sides and cut files refused, the
// texels exact (a PNG's palette and transparency among chunks passed over, a CMYK JPEG's inks),
// and Qt's messages while an image is read.

#include <gtest/gtest.h>

#include <QtCore/QString>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "pointeditor/view/image/image_decoder.h"
#include "pointeditor/view/image/qt_messages_muted.h"
#include "pointeditor/view/tests/image_files.h"
#include "tests/support/image_writers.h"

namespace tavo {
namespace {

using testing::Bytes;
using testing::TgaLayout;

// `bytes` with the byte at `at` set to `value`.
Bytes with(Bytes bytes, std::size_t at, uint8_t value) {
    bytes.at(at) = value;
    return bytes;
}

// A GIF counts its logical screen, which its reader allocates whatever its frames.
TEST(ImageProbe, TheHeaderGivesTheSizeOrTheProblemBeforeAnyPixelIsRead) {
    const auto tga = [](int width, int height, TgaLayout layout, std::size_t size = 0) {
        Bytes bytes = testing::tgaImageOf(1, 1, {0xFF000000}, layout);
        bytes[12] = static_cast<uint8_t>(width);
        bytes[13] = static_cast<uint8_t>(width >> 8);
        bytes[14] = static_cast<uint8_t>(height);
        bytes[15] = static_cast<uint8_t>(height >> 8);
        bytes.resize(size == 0 ? bytes.size() : size);
        return bytes;
    };
    // A BMP of its header alone, its one pixel inside the header: the rows fit the file.
    Bytes headerOnly = {'B', 'M', 54, 0, 0, 0, 0, 0, 0, 0, 50, 0, 0, 0,  40,
                        0,   0,   0,  1, 0, 0, 0, 1, 0, 0, 0,  1, 0, 24, 0};
    headerOnly.resize(54);
    const TgaLayout grey = {.type = 11, .depth = 8}, mapped = {.type = 9, .depth = 8};
    using P = TextureProblem;
    constexpr int Max = MaxImageSide;
    const std::tuple<const char*, Bytes, ImageHeader> cases[] = {
        // clang-format off
        {"GIF: a 3 x 2 screen", testing::gifOf(3, 2), {3, 2}},
        {"GIF87a: a 1 x 1 frame on a 5792 x 5792 screen", with(testing::gifOf(5792, 5792), 4, '7'),
         {5792, 5792}},
        {"GIF: a screen of 0 x 0, the frame's extent", testing::gifOf(0, 0, 100, 50), {101, 51}},
        // A frame of no width or height on a screen of none.
        {"GIF: no screen, a frame of no width", with(testing::gifOf(0, 0), 24, 0), {0, 0, P::Damaged}},
        {"GIF: no screen, a frame of no height", with(testing::gifOf(0, 0), 26, 0), {0, 0, P::Damaged}},
        {"GIF: a screen one wider", testing::gifOf(Max + 1, 1), {0, 0, P::OverBudget}},
        {"GIF: 65535 x 65535", testing::gifOf(65535, 65535), {0, 0, P::OverBudget}},
        {"BMP: the header alone, the pixels within it", headerOnly, {1, 1}},
        {"TGA: run-length true colour", tga(300, 200, {.type = 10}), {300, 200}},
        {"TGA: the widest", tga(Max, 1, grey), {Max, 1}},
        {"TGA: one wider", tga(Max + 1, 1, grey), {0, 0, P::OverBudget}},
        {"TGA: one taller", tga(1, Max + 1, mapped), {0, 0, P::OverBudget}},
        {"TGA: a colour map past the file", tga(2, 2, mapped, 18 + 2), {0, 0, P::Damaged}},
        {"TGA: interleaved rows", with(tga(2, 2, {.type = 10}), 17, 0x40), {0, 0, P::Unsupported}},
        {"TGA: grey of 24 bits", with(tga(2, 2, grey), 16, 24), {0, 0, P::Unsupported}},
        {"TGA: image type 12 (run-length, no kind)", with(tga(2, 2, grey), 2, 12),
         {0, 0, P::Unsupported}},
        {"TGA: no width", tga(0, 2, {.type = 10}), {0, 0, P::Unsupported}},
        {"TGA: a colour map of kind 2", with(tga(2, 2, {.type = 2}), 1, 2), {0, 0, P::Unsupported}},
        {"TGA: uncompressed of no width", tga(0, 2, {.type = 2}), {0, 0, P::Unsupported}},
        {"TGA: no height", tga(2, 0, mapped), {0, 0, P::Unsupported}},
        // clang-format on
    };
    for (const auto& [what, bytes, expected] : cases) {
        SCOPED_TRACE(what);
        const ImageHeader probed = probeImage(bytes);
        EXPECT_EQ(probed.problem, expected.problem);
        if (expected.problem == P::None) {
            EXPECT_EQ(probed.width, expected.width);
            EXPECT_EQ(probed.height, expected.height);
        }
    }
}

// The sides over the limit are refused even when the pixels are there. The bytes after a cut
// file's end are never read: here they are the rest of the good file. Qt's reader fills the rows
// a cut-off BMP lacks, so an uncompressed one is measured against its header's rows, each padded
// to four bytes (48 pixels of 24 bits: 144 bytes); a run-length one is left to Qt's reader.
TEST(ImageDecoder, AnImageIsDecodedWholeWithinTheSidesOrRefused) {
    const std::vector<uint32_t> row(MaxImageSide + 1, 0xFF808080);
    const auto grey = [&row](int width, int height) {
        return testing::tgaImageOf(width, height,
                                   std::vector(row.begin(), row.begin() + width * height),
                                   {.type = 11, .depth = 8});
    };
    const Bytes bmp = testing::encode(testing::TestImage::filled(48, 2, 0xFF102030), "BMP");
    const Bytes png = testing::pngOf(2, 2, 8, PNG_COLOR_TYPE_RGB, {1, 2, 3});
    const Bytes rleBmp = {
        'B',  'M',  72,   0, 0,    0,    0,    0, 0, 0, 62, 0, 0, 0, // file header
        40,   0,    0,    0, 2,    0,    0,    0, 1, 0, 0,  0, 1, 0, 8, 0, 1, 0, 0, 0, // RLE8
        4,    0,    0,    0, 0,    0,    0,    0, 0, 0, 0,  0, 2, 0, 0, 0, 0, 0, 0, 0,
        0x30, 0x20, 0x10, 0, 0xFF, 0xFF, 0xFF, 0,        // two colours
        2,    0,    0,    1, 0,    0,    0,    0, 0, 0}; // a run of 2 of colour 0; the end
    constexpr int Max = MaxImageSide;
    // what, the file, the bytes of it given (0: all), the size decoded (0 x 0: refused)
    const std::tuple<const char*, Bytes, std::size_t, int, int> cases[] = {
        {"GIF: the whole screen", testing::gifOf(3, 2), 0, 3, 2},
        {"GIF: the widest", testing::gifOf(Max, 1), 0, Max, 1},
        {"GIF: the tallest", testing::gifOf(1, Max), 0, 1, Max},
        {"GIF: one wider", testing::gifOf(Max + 1, 1), 0, 0, 0},
        {"GIF: one taller", testing::gifOf(1, Max + 1), 0, 0, 0},
        {"TGA: the widest", grey(Max, 1), 0, Max, 1},
        {"TGA: one wider", grey(Max + 1, 1), 0, 0, 0},
        {"TGA: one taller", grey(1, Max + 1), 0, 0, 0},
        {"BMP: whole", bmp, 0, 48, 2},
        {"BMP: a byte short", bmp, bmp.size() - 1, 0, 0},
        {"BMP: run-length", rleBmp, 0, 2, 1},
        {"PNG: whole", png, 0, 2, 2},
        {"PNG: four bytes short", png, png.size() - 4, 0, 0},
    };
    for (const auto& [what, bytes, given, width, height] : cases) {
        SCOPED_TRACE(what);
        const std::optional<DecodedImage> image =
            decodeImage(std::span(bytes).first(given == 0 ? bytes.size() : given));
        EXPECT_EQ(image ? image->width : 0, width);
        EXPECT_EQ(image ? image->height : 0, height);
    }
}

// A 2 x 1 palette PNG, index 0 then 1, index 0 given an alpha of 0x40 by tRNS.
Bytes palettePng() {
    const Bytes rows = {0, 0, 1}; // no filter, then the indices
    Bytes packed(64);
    uLongf size = packed.size();
    compress(packed.data(), &size, rows.data(), rows.size());
    packed.resize(size);
    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    for (const Bytes& chunk : {testing::pngChunk("IHDR", {0, 0, 0, 2, 0, 0, 0, 1, 8, 3, 0, 0, 0}),
                               testing::pngChunk("PLTE", {0x11, 0x22, 0x33, 0x44, 0x55, 0x66}),
                               testing::pngChunk("tRNS", {0x40}), testing::pngChunk("IDAT", packed),
                               testing::pngChunk("IEND", {})}) {
        png.insert(png.end(), chunk.begin(), chunk.end());
    }
    return png;
}

TEST(ImageDecoder, TexelsAreTheStoredColourAndAlphaAmongSkippedChunks) {
    const std::vector<uint32_t> texels = {0x40112233, 0xFF445566};
    const std::string text("Comment\0a texture", 17);
    const std::tuple<const char*, Bytes, std::vector<uint32_t>> cases[] = {
        {"no other chunk", palettePng(), texels},
        {"compressed texts", testing::withChunks(palettePng(), testing::compressedTextChunk(1), 3),
         texels},
        {"a text, a gamma and a chunk of no known kind",
         testing::withChunks(
             testing::withChunks(
                 testing::withChunks(palettePng(),
                                     testing::pngChunk("tEXt", Bytes(text.begin(), text.end())), 1),
                 testing::pngChunk("gAMA", {0, 0, 0x27, 0x10}), 1),
             testing::pngChunk("quIt", {1, 2, 3}), 1),
         texels},
        {"no alpha: opaque", testing::pngOf(1, 1, 8, PNG_COLOR_TYPE_RGB, {1, 2, 3}), {0xFF010203}},
        {"CMYK JPEG: opaque", testing::jpegOf(1, 1, {0, 100, 200, 50}, false), {0xFFCD7D2C}},
    };
    for (const auto& [what, bytes, expected] : cases) {
        SCOPED_TRACE(what);
        const std::optional<DecodedImage> image = decodeImage(bytes);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->pixels, expected);
    }
}

// What reaches the handler a test installs.
std::mutex received;
std::vector<std::string> messages;

void keepMessage(QtMsgType, const QMessageLogContext&, const QString& text) {
    const std::lock_guard lock(received);
    messages.push_back(text.toStdString());
}

class QtMessages : public ::testing::Test {
protected:
    void SetUp() override {
        messages.clear();
        before = qInstallMessageHandler(keepMessage);
    }
    void TearDown() override { qInstallMessageHandler(before); }
    QtMessageHandler before = nullptr;
};

TEST_F(QtMessages, WhatQtSaysOfAFileItReadsIsDroppedAndOtherMessagesArrive) {
    // An uncompressed TGA of 8 bits a pixel: Qt's reader complains of its depth.
    const Bytes greyAsColour = with(testing::tgaImageOf(2, 2, {0, 0, 0, 0}, {.type = 2}), 16, 8);
    EXPECT_EQ(probeImage(greyAsColour).problem, TextureProblem::Unsupported);
    EXPECT_FALSE(decodeImage(greyAsColour).has_value());
    qWarning("after the reading");
    EXPECT_EQ(messages, std::vector<std::string>{"after the reading"});
}

TEST_F(QtMessages, OnlyTheThreadThatReadsIsMuted) {
    {
        const QtMessagesMuted reading;
        std::thread([] { qWarning("another thread"); }).join();
        qWarning("the reading thread");
        { const QtMessagesMuted nested; }
        qWarning("still the reading thread");
    }
    qWarning("afterwards");
    EXPECT_EQ(messages, (std::vector<std::string>{"another thread", "afterwards"}));
    EXPECT_EQ(qInstallMessageHandler(keepMessage), &keepMessage) << "the handler is put back";
}

} // namespace
} // namespace tavo
