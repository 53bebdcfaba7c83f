#include <gtest/gtest.h>

#include <string>

#include "common/text/cp932.h"

namespace tavo {
namespace {

// "テクスチャ" and "地面" as the game's files hold them.
const std::string kKatakanaCp932 = "\x83\x65\x83\x4e\x83\x58\x83\x60\x83\x83";
const std::string kGroundCp932 = "\x92\x6e\x96\xca";

TEST(Cp932, ConvertsJapaneseAsciiAndHalfWidthBothWays) {
    struct Case {
        std::string cp932;
        std::string utf8;
    };
    const Case cases[] = {
        {kKatakanaCp932, "テクスチャ"},
        {kGroundCp932 + "\\wall.bmp", "地面\\wall.bmp"},
        {"\xb1\xdd", "ｱﾝ"},       // half-width katakana are single bytes
        {"\x81\x5f", "＼"},       // the full-width backslash is not 0x5C
        {"\x87\x40", "①"},        // NEC special characters, common in Windows text
        {"tex\\a~b", "tex\\a~b"}, // 0x5C stays a backslash, 0x7E a tilde
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
        EXPECT_EQ(utf8ToCp932(c.utf8), c.cp932) << c.utf8;
    }
}

TEST(Cp932, BytesThatAreNotCp932FailAtTheirOffset) {
    struct Case {
        std::string bytes;
        std::size_t offset;
    };
    const Case cases[] = {
        {"ab\x80", 2}, // not a lead byte
        {"\xa0", 0},
        {"x" + kGroundCp932 + "\xfd", 5}, // unassigned single byte after good text
        {"ab\x82", 2},                    // the input ends after a lead byte
        {"\x81\x20z", 0},                 // a lead byte with an invalid trail byte
    };
    for (const auto& c : cases) {
        ConversionError error{999};
        EXPECT_EQ(cp932ToUtf8(c.bytes, &error), std::nullopt);
        EXPECT_EQ(error.offset, c.offset);
        EXPECT_EQ(cp932ToUtf8(c.bytes), std::nullopt); // no error record needed
    }
}

TEST(Cp932, Utf8WithoutACp932FormOrMalformedFails) {
    ConversionError error{999};
    EXPECT_EQ(utf8ToCp932("ok \xf0\x9f\x98\x80", &error), std::nullopt); // an emoji
    EXPECT_EQ(error.offset, 3u);
    EXPECT_EQ(utf8ToCp932("한", &error), std::nullopt); // Hangul has no CP932 form
    EXPECT_EQ(error.offset, 0u);
    EXPECT_EQ(utf8ToCp932("ab\xc3", &error), std::nullopt); // cut inside a sequence
    EXPECT_EQ(error.offset, 2u);
    EXPECT_EQ(utf8ToCp932("\xff", &error), std::nullopt);
    EXPECT_EQ(error.offset, 0u);
}

TEST(Cp932, AFailureLeavesNoStateForTheNextCall) {
    EXPECT_EQ(cp932ToUtf8("\x82"), std::nullopt); // ends inside a character
    EXPECT_EQ(cp932ToUtf8(kGroundCp932), "地面");
    EXPECT_EQ(utf8ToCp932("\xe5\x9c"), std::nullopt);
    EXPECT_EQ(utf8ToCp932("地面"), kGroundCp932);
}

TEST(Cp932, LongTextConvertsWhole) {
    std::string cp932;
    std::string utf8;
    for (int i = 0; i < 5000; ++i) {
        cp932 += kGroundCp932 + "a";
        utf8 += "地面a";
    }
    EXPECT_EQ(cp932ToUtf8(cp932), utf8);
    EXPECT_EQ(utf8ToCp932(utf8), cp932);
}

} // namespace
} // namespace tavo
