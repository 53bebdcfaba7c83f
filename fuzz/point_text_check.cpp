// pointtool's text form through the parser that `pointtool build` uses: errors are bounded and
// print safely, and a text that parses writes back to a text that parses to the same bits.

#include <algorithm>
#include <cstring>
#include <string_view>

#include "fuzz/check.h"
#include "fuzz/reader_checks.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_text_form.h"

namespace tavo::fuzz {

void checkPointText(std::span<const uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const auto parsed = parsePointText(text);
    if (!parsed) {
        const TextErrors& errors = parsed.error();
        FUZZ_REQUIRE(errors.kept.size() <= MaxKeptTextErrors);
        FUZZ_REQUIRE(errors.more == 0 || errors.kept.size() == MaxKeptTextErrors);
        int lastLine = 0;
        for (const TextError& error : errors.kept) {
            FUZZ_REQUIRE(error.line > lastLine);
            lastLine = error.line;
            FUZZ_REQUIRE(error.message.size() < 256);
            FUZZ_REQUIRE(std::none_of(error.message.begin(), error.message.end(), [](char c) {
                return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
            }));
        }
        return;
    }
    FUZZ_REQUIRE(parsed->size() <= static_cast<std::size_t>(MaxPoints));
    const std::string again = writePointText(*parsed);
    const auto reparsed = parsePointText(again);
    FUZZ_REQUIRE(reparsed.ok());
    FUZZ_REQUIRE(reparsed->size() == parsed->size());
    FUZZ_REQUIRE(encodePointFile(*reparsed) == encodePointFile(*parsed));
}

} // namespace tavo::fuzz
