#include "pointeditor/shell/key_map.h"

#include <array>
#include <utility>

#include "pointeditor/edit/virtual_keys.h"

namespace tavo {

namespace {

// Codes the editor's commands do not use but that a Windows window still receives.
constexpr int VkBack = 0x08;
constexpr int VkTab = 0x09;
constexpr int VkShift = 0x10;
constexpr int VkControl = 0x11;
constexpr int VkPause = 0x13;
constexpr int VkCapital = 0x14;
constexpr int VkSpace = 0x20;
constexpr int VkSnapshot = 0x2C;
constexpr int VkNumLock = 0x90;
constexpr int VkScroll = 0x91;

// Keys that send the same code wherever they are, the keypad's Num Lock off keys included.
constexpr std::array<std::pair<int, int>, 24> FixedKeys{{
    {Qt::Key_Return, vk::Return},  {Qt::Key_Enter, vk::Return},  {Qt::Key_Clear, vk::Clear},
    {Qt::Key_PageUp, vk::Prior},   {Qt::Key_PageDown, vk::Next}, {Qt::Key_End, vk::End},
    {Qt::Key_Home, vk::Home},      {Qt::Key_Left, vk::Left},     {Qt::Key_Up, vk::Up},
    {Qt::Key_Right, vk::Right},    {Qt::Key_Down, vk::Down},     {Qt::Key_Insert, vk::Insert},
    {Qt::Key_Delete, vk::Delete},  {Qt::Key_Backspace, VkBack},  {Qt::Key_Tab, VkTab},
    {Qt::Key_Shift, VkShift},      {Qt::Key_Control, VkControl}, {Qt::Key_Pause, VkPause},
    {Qt::Key_CapsLock, VkCapital}, {Qt::Key_Escape, vk::Escape}, {Qt::Key_Space, VkSpace},
    {Qt::Key_Print, VkSnapshot},   {Qt::Key_NumLock, VkNumLock}, {Qt::Key_ScrollLock, VkScroll},
}};

// The keypad's operator keys.
constexpr std::array<std::pair<int, int>, 6> KeypadOperators{{
    {Qt::Key_Asterisk, vk::Multiply},
    {Qt::Key_Plus, vk::Add},
    {Qt::Key_Minus, vk::Subtract},
    {Qt::Key_Period, vk::Decimal},
    {Qt::Key_Comma, vk::Separator},
    {Qt::Key_Slash, vk::Divide},
}};

// X key codes 10..19 are the main row's 1..9 and 0 on every evdev keyboard.
constexpr unsigned XKeyDigit1 = 10;
constexpr unsigned XKeyDigit0 = 19;

int lookup(auto const& table, int qtKey) {
    for (const auto& [from, to] : table) {
        if (from == qtKey) {
            return to;
        }
    }
    return 0;
}

} // namespace

int virtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers, unsigned nativeScanCode) {
    if (modifiers.testFlag(Qt::AltModifier) || qtKey == Qt::Key_F10) {
        return 0;
    }
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        int d = qtKey - Qt::Key_0;
        return keypad ? vk::numpad(d) : vk::digit(d);
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return vk::LetterA + (qtKey - Qt::Key_A);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return vk::F1 + (qtKey - Qt::Key_F1);
    }
    if (int code = lookup(FixedKeys, qtKey); code != 0) {
        return code;
    }
    if (keypad) {
        return lookup(KeypadOperators, qtKey);
    }
    // A shifted digit key arrives as its symbol; Windows sends the digit's code all the same.
    if (nativeScanCode >= XKeyDigit1 && nativeScanCode <= XKeyDigit0) {
        return vk::digit(static_cast<int>((nativeScanCode - XKeyDigit1 + 1) % 10));
    }
    return 0;
}

} // namespace tavo
