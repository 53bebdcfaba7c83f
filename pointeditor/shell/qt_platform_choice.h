#pragma once
// Which Qt platform plugin the editor asks for, chosen from the environment before Qt starts.

#include <optional>
#include <string>

#include "common/locale/locale_rule.h"

namespace tavo {

// "xcb" on a Wayland session when the user has not chosen a platform himself and an X server
// (XWayland) is there, because turning the camera warps the pointer and Qt cannot do that on
// Wayland. nullopt: leave Qt's own choice alone.
std::optional<std::string> preferredQtPlatform(const EnvironmentLookup& environment);

} // namespace tavo
