#include "common/locale/locale_rule.h"

#include <cstdlib>
#include <string_view>

namespace tavo {

bool localeIsJapanese(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value != nullptr && *value != '\0') {
            return std::string_view(value).starts_with("ja");
        }
    }
    return false;
}

bool localeIsJapanese(const EnvironmentLookup& environment) {
    const std::optional<std::string> values[] = {environment("LC_ALL"), environment("LC_MESSAGES"),
                                                 environment("LANG")};
    auto text = [](const std::optional<std::string>& value) {
        return value ? value->c_str() : nullptr;
    };
    return localeIsJapanese(text(values[0]), text(values[1]), text(values[2]));
}

EnvironmentLookup processEnvironment() {
    return [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (value == nullptr) {
            return std::nullopt;
        }
        return std::string(value);
    };
}

} // namespace tavo
