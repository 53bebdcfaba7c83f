#pragma once
// Windows virtual-key codes: the editor's key commands are defined on these codes, and the shell
// translates the toolkit's keys into them.

namespace tavo::vk {

inline constexpr int Return = 0x0D;
inline constexpr int Clear = 0x0C; // keypad 5 with Num Lock off
inline constexpr int Escape = 0x1B;
inline constexpr int Prior = 0x21;
inline constexpr int Next = 0x22;
inline constexpr int End = 0x23;
inline constexpr int Home = 0x24;
inline constexpr int Left = 0x25;
inline constexpr int Up = 0x26;
inline constexpr int Right = 0x27;
inline constexpr int Down = 0x28;
inline constexpr int Insert = 0x2D;
inline constexpr int Delete = 0x2E;
inline constexpr int Digit0 = 0x30;  // main keyboard '0'; '1'..'9' follow
inline constexpr int LetterA = 0x41; // 'A'..'Z' are 0x41..0x5A
inline constexpr int Numpad0 = 0x60; // keypad '0'..'9' with Num Lock on are 0x60..0x69
inline constexpr int Multiply = 0x6A;
inline constexpr int Add = 0x6B;
inline constexpr int Separator = 0x6C;
inline constexpr int Subtract = 0x6D;
inline constexpr int Decimal = 0x6E;
inline constexpr int Divide = 0x6F;
inline constexpr int F1 = 0x70; // F1..F12 are 0x70..0x7B

inline constexpr int letter(char upper) {
    return upper;
}
inline constexpr int digit(int d) {
    return Digit0 + d;
}
inline constexpr int numpad(int d) {
    return Numpad0 + d;
}
inline constexpr int function(int n) {
    return F1 + n - 1;
}

} // namespace tavo::vk
