#include "pointeditor/shell/language.h"

namespace tavo {

int chooseEnglish(std::string_view firstArgument, const EnvironmentLookup& environment) {
    if (!firstArgument.empty()) {
        if (firstArgument.front() == 'j') {
            return 0;
        }
        if (firstArgument.front() == 'e') {
            return 1;
        }
    }
    return localeIsJapanese(environment) ? 0 : 1;
}

} // namespace tavo
