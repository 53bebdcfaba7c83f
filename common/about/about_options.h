#pragma once
// --help and --version for every program, answered before anything else starts (a window, a
// graphics device), so a packager's check or a user's question never needs a display.

#include <optional>
#include <string_view>

namespace tavo {

// The release these programs belong to, one for all of them.
std::string_view version();

// When the arguments ask for help (--help, -h) or the version (--version), prints the answer on
// standard output and gives the status to end with; otherwise nothing. Arguments after "--" are
// names, never options.
std::optional<int> answerAboutOptions(int argc, const char* const* argv, std::string_view program,
                                      std::string_view usage);

} // namespace tavo
