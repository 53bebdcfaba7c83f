#include <gtest/gtest.h>

#include <map>

#include "pointeditor/shell/language.h"

namespace tavo {
namespace {

EnvironmentLookup environmentOf(std::map<std::string, std::string> values) {
    return [values](const char* name) -> std::optional<std::string> {
        auto it = values.find(name);
        if (it == values.end()) {
            return std::nullopt;
        }
        return it->second;
    };
}

TEST(LanguageChoice, FirstLetterOfTheArgumentThenTheLocale) {
    const auto japanese = environmentOf({{"LANG", "ja_JP.UTF-8"}});
    const auto english = environmentOf({{"LANG", "en_GB.UTF-8"}});
    struct Case {
        const char* argument;
        int onJapanese;
        int onEnglish;
    };
    const Case cases[] = {
        {"e", 1, 1}, {"j", 0, 0}, {"english", 1, 1}, {"jp", 0, 0}, {"E", 0, 1},
        {"J", 0, 1}, {"x", 0, 1}, {"", 0, 1},        {" e", 0, 1}, {"ej", 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chooseEnglish(c.argument, japanese), c.onJapanese) << '"' << c.argument << '"';
        EXPECT_EQ(chooseEnglish(c.argument, english), c.onEnglish) << '"' << c.argument << '"';
    }
}

TEST(LanguageChoice, TheFirstNonEmptyLocaleVariableDecides) {
    EXPECT_EQ(chooseEnglish("", environmentOf({{"LC_ALL", "ja_JP.eucJP"}, {"LANG", "C"}})), 0);
    EXPECT_EQ(chooseEnglish(
                  "", environmentOf({{"LC_ALL", ""}, {"LC_MESSAGES", "ja_JP"}, {"LANG", "en_US"}})),
              0);
    EXPECT_EQ(chooseEnglish("", environmentOf({{"LC_MESSAGES", "de_DE"}, {"LANG", "ja_JP"}})), 1);
    EXPECT_EQ(chooseEnglish("", environmentOf({})), 1);
    EXPECT_EQ(chooseEnglish("", environmentOf({{"LANG", "jam"}})), 0); // only the prefix counts
}

TEST(QtPlatformChoice, WaylandSessionsRunThroughXWaylandUnlessTheUserChose) {
    EXPECT_EQ(
        preferredQtPlatform(environmentOf({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}})),
        "xcb");
    EXPECT_EQ(
        preferredQtPlatform(environmentOf({{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}})),
        "xcb");
    // The user's own choice, even Wayland itself, stays.
    EXPECT_EQ(
        preferredQtPlatform(environmentOf(
            {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}})),
        std::nullopt);
    // Without an X server there is nothing to switch to.
    EXPECT_EQ(preferredQtPlatform(environmentOf({{"WAYLAND_DISPLAY", "wayland-0"}})), std::nullopt);
    EXPECT_EQ(preferredQtPlatform(environmentOf({{"DISPLAY", ":0"}})), std::nullopt);
}

} // namespace
} // namespace tavo
