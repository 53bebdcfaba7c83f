#pragma once
// The dialog's own texts. The Japanese labels are the .ui's initial texts; the table below holds
// the other language, and each language switch exchanges the two.

#include <array>

#include "missioneditor/controls.h"
#include "missioneditor/mission_info.h"

namespace tavo::mission {

struct SwapSlot {
    int control;
    const char* text; // the English label at start (the button names the language it switches to)
};

inline constexpr std::array<SwapSlot, 14> labelSwapTable = {{
    {kMissionNameLabel, "mission title"},
    {kFullNameLabel, "mission fullname"},
    {kBlockPathLabel, "pathname of block"},
    {kPointPathLabel, "pathname of point"},
    {kSkyLabel, "sky image"},
    {kImage1Label, "pathname of image1"},
    {kImage2Label, "pathname of image2"},
    {kAddonObjectLabel, "pathname of obj"},
    {kBriefingLabel, "briefing text"},
    {kImage2Check, "two images"},
    {kAddonObjectCheck, "add-on obj"},
    {kExtraCollisionCheck, "extra collision"},
    {kDarkScreenCheck, "dark screen"},
    {kLanguageButton, "日本語"},
}};

inline constexpr std::array<const char*, kSkyCount> skyNamesJapanese = {
    "なし（黒）", "晴れ", "曇り", "夜", "夕方", "荒地",
};
inline constexpr std::array<const char*, kSkyCount> skyNamesEnglish = {
    "black", "sunny", "cloudy", "night", "early evening", "waste land",
};

inline constexpr const char* kDialogTitle = "TAVO MISSION INFORMATION FILE EDITOR";
inline constexpr const char* kLoadTitle = "LOAD";
inline constexpr const char* kSaveTitle = "SAVE";
inline constexpr const char* kFilterName = "mission information file (mif)";
inline constexpr const char* kFilterPattern = "*.mif";
inline constexpr const char* kErrorCaption = "ERROR";
inline constexpr const char* kOpenError = "file open error";
inline constexpr const char* kWriteError = "file open error (writing)";

// The defaults of a new mission.
inline constexpr const char* kDefaultBlockPath = ".\\";
inline constexpr const char* kDefaultPointPath = ".\\addon\\";
inline constexpr const char* kDefaultImage1Path = ".\\data\\briefing\\np.bmp";

} // namespace tavo::mission
