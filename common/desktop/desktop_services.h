#pragma once
// The services of the desktop that both programs ask for: a message box with its answer and the
// open and save file dialogs. Each program implements them with Qt (qt_desktop_services.h);
// tests use a scripted fake (tests/support/fake_desktop.h). All text is UTF-8; no Qt type
// crosses this interface, so the layers below a program's shell may call it.

#include <optional>
#include <string>
#include <string_view>

namespace tavo {

// YesNoDefaultNo: a question whose safe answer is No (overwriting another's change), so Return
// does not say Yes.
enum class BoxButtons { Ok, OkCancel, SaveDiscardCancel, YesNo, YesNoDefaultNo };
enum class BoxIcon { None, Error, Question, Warning };
enum class BoxAnswer { Ok, Cancel, Save, Discard, Yes, No };

// One entry of a file dialog's filter: what the user reads and the pattern that selects files.
struct FileFilter {
    std::string description; // "point data version 1 (pd1)"
    std::string pattern;     // "*.pd1"
};

class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // A modal message box owned by the program's window (or by no window when ownerless is
    // true). Returns the button the user pressed; an OK-only box always answers Ok. Closing the
    // box otherwise (Escape, the title bar) answers Cancel, or No; Return presses Ok, Save or Yes
    // (No for YesNoDefaultNo).
    virtual BoxAnswer messageBox(std::string_view text, std::string_view caption,
                                 BoxButtons buttons, BoxIcon icon, bool ownerless = false) = 0;

    // Modal file dialogs owned by the program's window. The result is the chosen path, nullopt
    // when cancelled. The save dialog adds the filter's extension to a name typed without one,
    // asks before it overwrites an existing file, and offers proposedPath when that is not
    // empty.
    virtual std::optional<std::string> openFileDialog(std::string_view title,
                                                      const FileFilter& filter) = 0;
    virtual std::optional<std::string> saveFileDialog(std::string_view title,
                                                      const FileFilter& filter,
                                                      std::string_view proposedPath) = 0;
};

} // namespace tavo
