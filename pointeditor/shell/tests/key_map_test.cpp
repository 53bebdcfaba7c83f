#include <gtest/gtest.h>

#include "pointeditor/edit/virtual_keys.h"
#include "pointeditor/shell/key_map.h"

namespace tavo {
namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kKeypad = Qt::KeypadModifier;

struct KeyCase {
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    int expected;
    const char* what;
};

TEST(KeyMap, EveryKeyThatACommandUses) {
    const KeyCase cases[] = {
        // Parameter keys, with and without Shift: the command looks at the code only.
        {Qt::Key_A, kNone, 0x41, "A"},
        {Qt::Key_Z, kNone, 0x5A, "Z"},
        {Qt::Key_S, Qt::ShiftModifier, 0x53, "Shift+S"},
        {Qt::Key_X, kNone, 0x58, "X"},
        {Qt::Key_D, kNone, 0x44, "D"},
        {Qt::Key_C, Qt::ControlModifier, 0x43, "Ctrl+C"},
        {Qt::Key_F, kNone, 0x46, "F"},
        {Qt::Key_V, kNone, 0x56, "V"},
        {Qt::Key_F2, kNone, 0x71, "F2"},
        {Qt::Key_F3, kNone, 0x72, "F3"},
        {Qt::Key_F8, kNone, 0x77, "F8"},
        {Qt::Key_F9, kNone, 0x78, "F9"},
        {Qt::Key_F11, kNone, 0x7A, "F11"},
        {Qt::Key_F12, kNone, 0x7B, "F12"},
        {Qt::Key_Left, kNone, 0x25, "Left"},
        {Qt::Key_Right, kNone, 0x27, "Right"},
        {Qt::Key_Return, kNone, 0x0D, "Return"},
        {Qt::Key_Enter, kKeypad, 0x0D, "keypad Enter"},
        {Qt::Key_Insert, kNone, 0x2D, "Insert"},
        // Main-row digits place templates; keypad digits are other keys.
        {Qt::Key_0, kNone, 0x30, "0"},
        {Qt::Key_1, kNone, 0x31, "1"},
        {Qt::Key_7, kNone, 0x37, "7"},
        // Keypad with Num Lock on.
        {Qt::Key_0, kKeypad, 0x60, "keypad 0"},
        {Qt::Key_4, kKeypad, 0x64, "keypad 4"},
        {Qt::Key_5, kKeypad, 0x65, "keypad 5"},
        {Qt::Key_6, kKeypad, 0x66, "keypad 6"},
        {Qt::Key_8, kKeypad, 0x68, "keypad 8"},
        {Qt::Key_9, kKeypad, 0x69, "keypad 9"},
        {Qt::Key_Plus, kKeypad, 0x6B, "keypad +"},
        {Qt::Key_Minus, kKeypad, 0x6D, "keypad -"},
        {Qt::Key_Asterisk, kKeypad, 0x6A, "keypad *"},
        {Qt::Key_Slash, kKeypad, 0x6F, "keypad /"},
        {Qt::Key_Period, kKeypad, 0x6E, "keypad ."},
        // Keypad with Num Lock off: the navigation codes, so 4 and 6 turn the selection.
        {Qt::Key_Left, kKeypad, 0x25, "keypad 4, Num Lock off"},
        {Qt::Key_Right, kKeypad, 0x27, "keypad 6, Num Lock off"},
        {Qt::Key_Up, kKeypad, 0x26, "keypad 8, Num Lock off"},
        {Qt::Key_Down, kKeypad, 0x28, "keypad 2, Num Lock off"},
        {Qt::Key_Clear, kKeypad, 0x0C, "keypad 5, Num Lock off"},
        {Qt::Key_Insert, kKeypad, 0x2D, "keypad 0, Num Lock off"},
        {Qt::Key_Delete, kKeypad, 0x2E, "keypad ., Num Lock off"},
        {Qt::Key_Home, kKeypad, 0x24, "keypad 7, Num Lock off"},
        {Qt::Key_PageUp, kKeypad, 0x21, "keypad 9, Num Lock off"},
        {Qt::Key_PageDown, kKeypad, 0x22, "keypad 3, Num Lock off"},
        {Qt::Key_End, kKeypad, 0x23, "keypad 1, Num Lock off"},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(virtualKeyFor(c.qtKey, c.modifiers), c.expected) << c.what;
    }
}

TEST(KeyMap, MainKeyboardOperatorsAreNotTheKeypadZoomKeys) {
    EXPECT_NE(virtualKeyFor(Qt::Key_Plus, kNone), vk::Add);
    EXPECT_NE(virtualKeyFor(Qt::Key_Minus, kNone), vk::Subtract);
    EXPECT_NE(virtualKeyFor(Qt::Key_Asterisk, Qt::ShiftModifier), vk::Multiply);
}

TEST(KeyMap, SystemKeysNeverReachTheHandler) {
    EXPECT_EQ(virtualKeyFor(Qt::Key_F10, kNone), 0);
    EXPECT_EQ(virtualKeyFor(Qt::Key_A, Qt::AltModifier), 0);
    EXPECT_EQ(virtualKeyFor(Qt::Key_F4, Qt::AltModifier), 0);
    EXPECT_EQ(virtualKeyFor(Qt::Key_unknown, kNone), 0);
}

TEST(KeyMap, ShiftedDigitKeysKeepTheirDigitCode) {
    // Shift+1 on an X keyboard arrives as '!' from key code 10; Shift+0 as ')' from 19.
    EXPECT_EQ(virtualKeyFor(Qt::Key_Exclam, Qt::ShiftModifier, 10), vk::digit(1));
    EXPECT_EQ(virtualKeyFor(Qt::Key_ParenRight, Qt::ShiftModifier, 19), vk::digit(0));
    EXPECT_EQ(virtualKeyFor(Qt::Key_Exclam, Qt::ShiftModifier, 0), 0);
    EXPECT_EQ(virtualKeyFor(Qt::Key_Exclam, Qt::ShiftModifier, 20), 0);
}

} // namespace
} // namespace tavo
