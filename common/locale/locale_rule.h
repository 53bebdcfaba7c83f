#pragma once
// Which language the locale asks for, the one rule both programs start from. Only the C library
// and the environment: no Qt.

#include <functional>
#include <optional>
#include <string>

namespace tavo {

// Japanese when the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty begins with
// "ja", as the locale decides the messages' language everywhere else. Arguments may be nullptr.
bool localeIsJapanese(const char* lcAll, const char* lcMessages, const char* lang);

// Reads one environment variable; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The same rule over an environment.
bool localeIsJapanese(const EnvironmentLookup& environment);

// The process environment.
EnvironmentLookup processEnvironment();

} // namespace tavo
