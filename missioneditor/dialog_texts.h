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
    {MissionNameLabel, "mission title"},
    {FullNameLabel, "mission fullname"},
    {BlockPathLabel, "pathname of block"},
    {PointPathLabel, "pathname of point"},
    {SkyLabel, "sky image"},
    {Image1Label, "pathname of image1"},
    {Image2Label, "pathname of image2"},
    {AddonObjectLabel, "pathname of obj"},
    {BriefingLabel, "briefing text"},
    {Image2Check, "two images"},
    {AddonObjectCheck, "add-on obj"},
    {ExtraCollisionCheck, "extra collision"},
    {DarkScreenCheck, "dark screen"},
    {LanguageButton, "日本語"},
}};

inline constexpr std::array<const char*, SkyCount> SkyNamesJapanese = {
    "なし（黒）", "晴れ", "曇り", "夜", "夕方", "荒地",
};
inline constexpr std::array<const char*, SkyCount> SkyNamesEnglish = {
    "black", "sunny", "cloudy", "night", "early evening", "waste land",
};

inline constexpr const char* DialogTitle = "TAVO MISSION INFORMATION FILE EDITOR";
inline constexpr const char* LoadTitle = "LOAD";
inline constexpr const char* SaveTitle = "SAVE";
inline constexpr const char* FilterName = "mission information file (mif)";
inline constexpr const char* FilterPattern = "*.mif";
inline constexpr const char* ErrorCaption = "ERROR";
inline constexpr const char* OpenError = "file open error";
inline constexpr const char* WriteError = "file open error (writing)";

// The defaults of a new mission.
inline constexpr const char* DefaultBlockPath = ".\\";
inline constexpr const char* DefaultPointPath = ".\\addon\\";
inline constexpr const char* DefaultImage1Path = ".\\data\\briefing\\np.bmp";

} // namespace tavo::mission
