#pragma once
// The services of the desktop that the editor's operations need: those both programs share
// (message boxes, file dialogs) and two of the point editor's own. The shell implements them
// with Qt; tests use a scripted fake (tests/support/fake_platform.h). All text is UTF-8.

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/desktop/desktop_services.h"

namespace tavo {

// The answer to a question that may be put off: its yes, its destructive no, or Later when the
// box was closed without either (Escape, the title bar's close button).
enum class DeferrableAnswer { Yes, Discard, Later };
struct DeferrableLabels {
    std::string_view yes, discard, later;
};

// The editor's boxes are owned by the main window; its file dialogs start in the folder of the
// last file chosen with the same filter.
class Platform : public DesktopServices {
public:
    // Whether a Shift key is held down at this moment.
    virtual bool shiftDown() = 0;
    // Whether a Ctrl key is held down at this moment.
    virtual bool controlDown() = 0;

    // Moves the real pointer to a point of the main window's client area.
    virtual void warpPointer(int clientX, int clientY) = 0;

    // A question with a button for yes, one for the destructive no, and one for later, the
    // labels given in the editor's language; yes is the default. Only the discard button
    // answers Discard: Escape and closing the box answer Later.
    virtual DeferrableAnswer askDeferrable(std::string_view text, std::string_view caption,
                                           const DeferrableLabels& labels) = 0;

    // A small box asking for a whole number from minimum to maximum, offering value; nullopt
    // when cancelled.
    virtual std::optional<int> askInteger(std::string_view text, std::string_view caption,
                                          int value, int minimum, int maximum) = 0;

    // A modal window showing richText (HTML), which scrolls when it is taller than the screen.
    virtual void showHelp(std::string_view richText, std::string_view caption) = 0;
};

} // namespace tavo
