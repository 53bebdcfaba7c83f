#pragma once
// The dialog's control ids. The .ui gives each widget its id in the "controlId" property;
// MissionDialog::control(id) finds it.

namespace tavo::mission {

inline constexpr int kMissionNameEdit = 1000;
inline constexpr int kFullNameEdit = 1001;
inline constexpr int kBlockPathEdit = 1002;
inline constexpr int kPointPathEdit = 1003;
inline constexpr int kSkyList = 1004;
inline constexpr int kExtraCollisionCheck = 1005;
inline constexpr int kDarkScreenCheck = 1006;
inline constexpr int kAddonObjectEdit = 1007;
inline constexpr int kAddonObjectCheck = 1008;
inline constexpr int kImage1Edit = 1009;
inline constexpr int kImage2Edit = 1010;
inline constexpr int kImage2Check = 1011;
inline constexpr int kBriefingEdit = 1012;
inline constexpr int kLoadButton = 1013;
inline constexpr int kSaveButton = 1014;
inline constexpr int kLanguageButton = 1015;
inline constexpr int kMissionNameLabel = 1017;
inline constexpr int kFullNameLabel = 1018;
inline constexpr int kBlockPathLabel = 1019;
inline constexpr int kPointPathLabel = 1020;
inline constexpr int kSkyLabel = 1021;
inline constexpr int kImage1Label = 1022;
inline constexpr int kImage2Label = 1023;
inline constexpr int kAddonObjectLabel = 1024;
inline constexpr int kBriefingLabel = 1025;

inline constexpr int kControlIds[] = {
    kMissionNameEdit,  kFullNameEdit,        kBlockPathEdit,   kPointPathEdit,
    kSkyList,          kExtraCollisionCheck, kDarkScreenCheck, kAddonObjectEdit,
    kAddonObjectCheck, kImage1Edit,          kImage2Edit,      kImage2Check,
    kBriefingEdit,     kLoadButton,          kSaveButton,      kLanguageButton,
    kMissionNameLabel, kFullNameLabel,       kBlockPathLabel,  kPointPathLabel,
    kSkyLabel,         kImage1Label,         kImage2Label,     kAddonObjectLabel,
    kBriefingLabel,
};

} // namespace tavo::mission
