#pragma once
// The services of the desktop that the editor's operations need: those both programs share
// (message boxes, file dialogs) and two of the point editor's own. The shell implements them
// with Qt; tests use a scripted fake (tests/support/fake_platform.h). All text is UTF-8.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/desktop/desktop_services.h"

namespace tavo {

// The answer to a question that may be put off: its yes, its destructive no, or Later when the
// box was closed without either (Escape, the title bar's close button).
enum class DeferrableAnswer { Yes, Discard, Later };
struct DeferrableLabels {
    std::string_view yes, discard, later;
};

// The clipboard's own form of points, for another point editor: the records exactly as a points
// file holds them (its count, then each record field by field, little-endian).
inline constexpr char PointsMimeType[] = "application/x-tavo-points";

// What the clipboard offers the editor: its plain text and its exact points, each when there.
struct ClipboardContents {
    std::optional<std::string> text;
    std::optional<std::vector<uint8_t>> points;
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

    // Puts copied points on the system clipboard in both forms at once: as text for any program
    // and as PointsMimeType for another point editor.
    virtual void setClipboard(std::string_view text, std::span<const uint8_t> points) = 0;
    virtual ClipboardContents clipboard() = 0;

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
