#include "missioneditor/start_language.h"

#include <cstdlib>
#include <string_view>

namespace tavo::mission {

bool localeIsJapanese(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value != nullptr && *value != '\0') {
            return std::string_view(value).starts_with("ja");
        }
    }
    return false;
}

bool startsInJapanese() {
    return localeIsJapanese(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

} // namespace tavo::mission
