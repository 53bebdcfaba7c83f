#pragma once
// Qt's keys as the Windows virtual-key codes on which the editor's key commands are defined.

#include <QtCore/Qt>

namespace tavo {

// The virtual-key code that a key press sends, 0 when the editor would not see the press.
// The keypad (Qt::KeypadModifier) gives the keypad codes with Num Lock on and the navigation
// codes with Num Lock off, as the toolkit reports it. Presses with Alt held and F10 are system
// keys that never reach the key handler. nativeScanCode is the X key code when there is one
// (0 otherwise): it names the main row's digit keys whatever Shift turned them into.
int virtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers, unsigned nativeScanCode = 0);

} // namespace tavo
