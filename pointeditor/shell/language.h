#pragma once
// Start-up choices made from the command line and the environment before any window exists.

#include <optional>
#include <string>
#include <string_view>

#include "common/locale/locale_rule.h"

namespace tavo {

// The value of `english`: only the first character of the first argument counts, lower-case
// 'j' Japanese (0), 'e' English (1). Anything else, no argument included, follows the locale
// (localeIsJapanese).
int chooseEnglish(std::string_view firstArgument, const EnvironmentLookup& environment);

// The Qt platform the editor asks for: "xcb" on a Wayland session when the user has not chosen
// one himself and an X server (XWayland) is there, because turning the camera warps the pointer
// and Qt cannot do that on Wayland. nullopt: leave Qt's own choice alone.
std::optional<std::string> preferredQtPlatform(const EnvironmentLookup& environment);

} // namespace tavo
