#pragma once
// The language chosen from the command line and the environment before any window exists.

#include <string>
#include <string_view>

#include "common/locale/locale_rule.h"

namespace tavo {

// The value of `english`: only the first character of the first argument counts, lower-case
// 'j' Japanese (0), 'e' English (1). Anything else, no argument included, follows the locale
// (localeIsJapanese).
int chooseEnglish(std::string_view firstArgument, const EnvironmentLookup& environment);

} // namespace tavo
