#pragma once
// Which language the mission editor starts in.

namespace tavo::mission {

// Japanese when the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty begins with
// "ja", as the locale decides the messages' language everywhere else. Arguments may be nullptr.
bool localeIsJapanese(const char* lcAll, const char* lcMessages, const char* lang);

// The same, from the environment.
bool startsInJapanese();

} // namespace tavo::mission
