#pragma once
// The few services of the desktop that the editor's operations need. The shell implements them
// with Qt; tests use a scripted fake (tests/support/fake_platform.h). All text is UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavo {

enum class BoxButtons { Ok, OkCancel, SaveDiscardCancel, YesNo };
enum class BoxIcon { None, Error, Question, Warning };
enum class BoxAnswer { Ok, Cancel, Save, Discard, Yes, No };

// One entry of a file dialog's filter: what the user reads and the pattern that selects files.
struct FileFilter {
    std::string description; // "point data version 1 (pd1)"
    std::string pattern;     // "*.pd1"
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box owned by the main window (or by no window when ownerless is true).
    // Returns the button the user pressed; an OK-only box always answers Ok. Closing the box
    // otherwise (Escape, the title bar) answers Cancel, or No; Return presses Ok, Save or Yes.
    virtual BoxAnswer messageBox(std::string_view text, std::string_view caption,
                                 BoxButtons buttons, BoxIcon icon, bool ownerless = false) = 0;

    // Modal file dialogs. The result is the chosen path, nullopt when cancelled. The save dialog
    // asks before it overwrites an existing file and adds no extension to a typed name. Both
    // start in the folder of the last file chosen with the same filter; the save dialog offers
    // proposedPath when it is not empty.
    virtual std::optional<std::string> openFileDialog(std::string_view title,
                                                      const FileFilter& filter) = 0;
    virtual std::optional<std::string> saveFileDialog(std::string_view title,
                                                      const FileFilter& filter,
                                                      std::string_view proposedPath) = 0;

    // Whether a Shift key is held down at this moment.
    virtual bool shiftDown() = 0;

    // Moves the real pointer to a point of the main window's client area.
    virtual void warpPointer(int clientX, int clientY) = 0;

    // Writes one line of text onto the window's canvas at client pixel (x, y) (top-left of the
    // text cell), opaque: the cell is filled with backColour first. Colours are 0x00BBGGRR.
    virtual void drawText(int x, int y, std::string_view text, uint32_t textColour,
                          uint32_t backColour) = 0;
};

} // namespace tavo
