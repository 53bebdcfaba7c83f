#include <gtest/gtest.h>

#include <string>

#include "common/text/cp932.h"

namespace tavo {
namespace {

TEST(Cp932, ConvertsBothWays) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x92\x6e\x96\xca\\\x95\x5c.bmp", "地面\\表.bmp"}, // 表 ends in 0x5C
        {"\xb1\xdd~", "ｱﾝ~"},                               // half-width katakana, tilde kept
        {"\x81\x5f\x87\x40", "＼①"},                        // full-width backslash, NEC extension
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"", ""},
    };
    for (const auto& [cp932, utf8] : cases) {
        EXPECT_EQ(cp932ToUtf8(cp932), utf8) << utf8;
        EXPECT_EQ(utf8ToCp932(utf8), cp932) << utf8;
    }
}

TEST(Cp932, ReportsTheFirstByteThatDoesNotConvertAndRecovers) {
    const std::pair<std::string, std::size_t> badCp932[] = {
        {"ab\x80", 2}, {"x\x92\x6e\xfd", 3}, {"ab\x82", 2}, {"\x81\x20z", 0}};
    for (const auto& [bytes, offset] : badCp932) {
        ConversionError error{999};
        EXPECT_EQ(cp932ToUtf8(bytes, &error), std::nullopt);
        EXPECT_EQ(error.offset, offset);
        EXPECT_EQ(cp932ToUtf8("\x92\x6e"), "地"); // an input cut short leaves nothing behind
    }
    const std::pair<std::string, std::size_t> badUtf8[] = {
        {"ok \xf0\x9f\x98\x80", 3}, {"한", 0}, {"ab\xc3", 2}, {"\xff", 0}};
    for (const auto& [text, offset] : badUtf8) {
        ConversionError error{999};
        EXPECT_EQ(utf8ToCp932(text, &error), std::nullopt);
        EXPECT_EQ(error.offset, offset);
        EXPECT_EQ(utf8ToCp932("地"), "\x92\x6e");
    }
    EXPECT_EQ(cp932ToUtf8("\xa0"), std::nullopt); // no error record asked for
}

} // namespace
} // namespace tavo
