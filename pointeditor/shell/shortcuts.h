#pragma once
// The desktop shortcuts that the window takes before the key handler sees the key: the Ctrl
// combinations, F1 (help) and F6 (the point inspector). Every other Ctrl combination reaches the
// handler as its plain key, which never looks at Ctrl.

#include <QtCore/Qt>

namespace tavo {

enum class Shortcut { None, Undo, Redo, Save, SaveAs, LoadPoint, LoadBlock, Help, Inspector };

Shortcut shortcutFor(int qtKey, Qt::KeyboardModifiers modifiers);

// The help box's text in the chosen language: the mouse, every key, and the shortcuts.
const char* helpText(bool english);
const char* helpCaption(bool english);

} // namespace tavo
