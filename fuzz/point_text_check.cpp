// pointtool's text form through the parser that `pointtool build` uses: errors are bounded and
// print safely, and a text that parses writes back to a text that parses to the same bits.

#include <algorithm>
#include <cstring>
#include <string_view>

#include "fuzz/check.h"
#include "fuzz/reader_checks.h"
#include "pointeditor/data/point_file.h"
#include "tools/pointtool/text_form.h"

namespace tavo::fuzz {

void checkPointText(std::span<const uint8_t> bytes) {
    using namespace tavo::pointtool;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const ParsedPointText parsed = parsePointText(text);
    FUZZ_REQUIRE(parsed.errors.size() <= MaxKeptTextErrors);
    FUZZ_REQUIRE(parsed.moreErrors == 0 || parsed.errors.size() == MaxKeptTextErrors);
    FUZZ_REQUIRE(parsed.records.size() <= static_cast<std::size_t>(MaxPoints));
    int lastLine = 0;
    for (const TextError& error : parsed.errors) {
        FUZZ_REQUIRE(error.line > lastLine);
        lastLine = error.line;
        FUZZ_REQUIRE(error.message.size() < 256);
        FUZZ_REQUIRE(std::none_of(error.message.begin(), error.message.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
        }));
    }
    if (!parsed.errors.empty()) {
        return;
    }
    const std::string again = writePointText(parsed.records);
    const ParsedPointText reparsed = parsePointText(again);
    FUZZ_REQUIRE(reparsed.errors.empty());
    FUZZ_REQUIRE(reparsed.records.size() == parsed.records.size());
    FUZZ_REQUIRE(encodePointFile(reparsed.records) == encodePointFile(parsed.records));
}

} // namespace tavo::fuzz
