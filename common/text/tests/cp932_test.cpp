#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text/cp932.h"

namespace tavo {
namespace {

// The text, or where the conversion stopped, so that a failure shows which.
std::string shown(const Result<std::string, ConversionError>& converted) {
    return converted ? *converted : "stops at byte " + std::to_string(converted.error().offset);
}

// Each text converts both ways; a byte that does not convert is named, and leaves nothing behind.
TEST(Cp932, ConvertsBothWaysOrReportsTheFirstByteThatDoesNot) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x92\x6e\x96\xca\\\x95\x5c.bmp", "地面\\表.bmp"}, // 表 ends in 0x5C
        {"\xb1\xdd~", "ｱﾝ~"},                               // half-width katakana, tilde kept
        {"\x81\x5f\x87\x40", "＼①"},                        // full-width backslash, NEC extension
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"", ""},
    };
    for (const auto& [cp932, utf8] : cases) {
        EXPECT_EQ(shown(cp932ToUtf8(cp932)), utf8) << utf8;
        EXPECT_EQ(shown(utf8ToCp932(utf8)), cp932) << utf8;
    }
    using Cases = std::vector<std::pair<std::string, std::size_t>>;
    const Cases badCp932 = {{"ab\x80", 2}, {"x\x92\x6e\xfd", 3}, {"ab\x82", 2}, {"\x81\x20z", 0}};
    const Cases badUtf8 = {{"ok \xf0\x9f\x98\x80", 3}, {"한", 0}, {"ab\xc3", 2}, {"\xff", 0}};
    for (bool fromCp932 : {true, false}) {
        for (const auto& [input, offset] : fromCp932 ? badCp932 : badUtf8) {
            SCOPED_TRACE(input);
            const auto result = fromCp932 ? cp932ToUtf8(input) : utf8ToCp932(input);
            EXPECT_EQ(shown(result), "stops at byte " + std::to_string(offset));
            EXPECT_EQ(shown(cp932ToUtf8(utf8ToCp932("地").value())), "地");
        }
    }
}

} // namespace
} // namespace tavo
