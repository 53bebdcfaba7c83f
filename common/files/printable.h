#pragma once
// Text from outside (file names, bytes of a bad line) made safe to print on a terminal or in a box.

#include <string>
#include <string_view>

namespace tavo {

// Control bytes and DEL become C escapes ("\x00", "\n"); everything else passes through as it
// is: backslashes (texture names hold them), UTF-8 and CP932 bytes.
std::string printable(std::string_view text);

// The same, and valid UTF-8 besides, for a window title or a box: each byte that is not part of
// a well-formed UTF-8 character (a name in another encoding) becomes "\xff" as well.
std::string printableUtf8(std::string_view text);

} // namespace tavo
