#pragma once
// The dialog's control ids. The .ui gives each widget its id in the "controlId" property;
// MissionDialog::control(id) finds it.

namespace tavo::mission {

inline constexpr int MissionNameEdit = 1000;
inline constexpr int FullNameEdit = 1001;
inline constexpr int BlockPathEdit = 1002;
inline constexpr int PointPathEdit = 1003;
inline constexpr int SkyList = 1004;
inline constexpr int ExtraCollisionCheck = 1005;
inline constexpr int DarkScreenCheck = 1006;
inline constexpr int AddonObjectEdit = 1007;
inline constexpr int AddonObjectCheck = 1008;
inline constexpr int Image1Edit = 1009;
inline constexpr int Image2Edit = 1010;
inline constexpr int Image2Check = 1011;
inline constexpr int BriefingEdit = 1012;
inline constexpr int LoadButton = 1013;
inline constexpr int SaveButton = 1014;
inline constexpr int LanguageButton = 1015;
inline constexpr int MissionNameLabel = 1017;
inline constexpr int FullNameLabel = 1018;
inline constexpr int BlockPathLabel = 1019;
inline constexpr int PointPathLabel = 1020;
inline constexpr int SkyLabel = 1021;
inline constexpr int Image1Label = 1022;
inline constexpr int Image2Label = 1023;
inline constexpr int AddonObjectLabel = 1024;
inline constexpr int BriefingLabel = 1025;

inline constexpr int ControlIds[] = {
    MissionNameEdit,  FullNameEdit,        BlockPathEdit,   PointPathEdit,
    SkyList,          ExtraCollisionCheck, DarkScreenCheck, AddonObjectEdit,
    AddonObjectCheck, Image1Edit,          Image2Edit,      Image2Check,
    BriefingEdit,     LoadButton,          SaveButton,      LanguageButton,
    MissionNameLabel, FullNameLabel,       BlockPathLabel,  PointPathLabel,
    SkyLabel,         Image1Label,         Image2Label,     AddonObjectLabel,
    BriefingLabel,
};

} // namespace tavo::mission
