#pragma once
// The pane numbers that hoverView and boxView hold, and the menu commands that menuMode holds.

namespace tavo {

inline constexpr int kNoPane = 0;
inline constexpr int kTopPane = 1;
inline constexpr int kFrontPane = 2;
inline constexpr int kSidePane = 3;
inline constexpr int kThreeDPane = 4;

inline constexpr int kModeNone = 0;
inline constexpr int kModeNewPoint = 1;
inline constexpr int kModeSelect = 2;
inline constexpr int kModeMove = 3;
inline constexpr int kModeDelete = 4;
inline constexpr int kModeView = 5;
inline constexpr int kModeLoadBlock = 6;
inline constexpr int kModeSavePoint = 7;
inline constexpr int kModeLoadPoint = 8;

// Slot states of pointUsed.
inline constexpr int kSlotFree = 0;
inline constexpr int kSlotUsed = 1;
inline constexpr int kSlotSelected = 2;

} // namespace tavo
