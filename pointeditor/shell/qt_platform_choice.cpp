#include "pointeditor/shell/qt_platform_choice.h"

namespace tavo {
namespace {

bool nonEmpty(const std::optional<std::string>& value) {
    return value && !value->empty();
}

} // namespace

std::optional<std::string> preferredQtPlatform(const EnvironmentLookup& environment) {
    if (nonEmpty(environment("QT_QPA_PLATFORM"))) {
        return std::nullopt;
    }
    std::optional<std::string> session = environment("XDG_SESSION_TYPE");
    bool wayland = nonEmpty(environment("WAYLAND_DISPLAY")) || (session && *session == "wayland");
    if (wayland && nonEmpty(environment("DISPLAY"))) {
        return std::string("xcb");
    }
    return std::nullopt;
}

} // namespace tavo
