#pragma once
// Start-up choices made from the command line and the environment before any window exists.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavo {

// Reads one environment variable; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The value of `english`: only the first character of the first argument counts, lower-case
// 'j' Japanese (0), 'e' English (1). Anything else, no argument included, follows the locale:
// Japanese when the first non-empty of LC_ALL, LC_MESSAGES and LANG begins with "ja".
int chooseEnglish(std::string_view firstArgument, const EnvironmentLookup& environment);

// The Qt platform the editor asks for: "xcb" on a Wayland session when the user has not chosen
// one himself and an X server (XWayland) is there, because turning the camera warps the pointer
// and Qt cannot do that on Wayland. nullopt: leave Qt's own choice alone.
std::optional<std::string> preferredQtPlatform(const EnvironmentLookup& environment);

// The process environment, for the two functions above.
EnvironmentLookup processEnvironment();

} // namespace tavo
