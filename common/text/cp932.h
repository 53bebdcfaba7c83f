#pragma once
// Conversion between CP932 (Windows Shift-JIS) bytes, as the game's files hold them, and the
// UTF-8 that the programs use inside.

#include <cstddef>
#include <string>
#include <string_view>

#include "common/result.h"

namespace tavo {

struct ConversionError {
    std::size_t offset; // byte offset in the input of the first byte that does not convert
};

// The text, or where the first byte sequence that is not valid CP932 begins.
Result<std::string, ConversionError> cp932ToUtf8(std::string_view bytes);

// The bytes, or where the input stops being valid UTF-8 or holds a character that has no CP932
// form.
Result<std::string, ConversionError> utf8ToCp932(std::string_view utf8);

} // namespace tavo
