#pragma once
// The desktop shortcuts that the window takes before the key handler sees the key: the Ctrl
// combinations, F1 (help) and F6 (the point inspector). Every other Ctrl combination reaches the
// handler as its plain key; of those the handler itself tells Ctrl+A and Ctrl+F from the plain
// letters.

#include <QtCore/Qt>
#include <string>

namespace tavo {

enum class Shortcut {
    None,
    Undo,
    Redo,
    Save,
    SaveAs,
    LoadPoint,
    LoadBlock,
    Help,
    Copy,
    Cut,
    Paste,
    Duplicate,
    Inspector,
};

Shortcut shortcutFor(int qtKey, Qt::KeyboardModifiers modifiers);

// The help's text in the chosen language, as rich text (HTML): a table of every mouse action,
// key and shortcut beside what it does.
std::string helpText(bool english);
const char* helpCaption(bool english);

} // namespace tavo
