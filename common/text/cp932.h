#pragma once
// Conversion between CP932 (Windows Shift-JIS) bytes, as the game's files hold them, and the
// UTF-8 that the programs use inside.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavo {

struct ConversionError {
    std::size_t offset; // byte offset in the input of the first byte that does not convert
};

// nullopt (with *error filled when given) when some byte sequence is not valid CP932.
std::optional<std::string> cp932ToUtf8(std::string_view bytes, ConversionError* error = nullptr);

// nullopt (with *error filled when given) when the input is not valid UTF-8 or holds a
// character that has no CP932 form.
std::optional<std::string> utf8ToCp932(std::string_view utf8, ConversionError* error = nullptr);

} // namespace tavo
