#pragma once
// The desktop services of the editor over Qt Widgets: the shared boxes and dialogs of
// QtDesktopServices, owned by the main window, with the frame shown under them; and the Shift
// state, the number box, the help window, the pointer warp and the clipboard.

#include "common/desktop/qt_desktop_services.h"
#include "pointeditor/data/platform.h"

namespace tavo {

class EditorWindow;

class QtPlatform : public Platform {
public:
    // window may be null: boxes then have no owner and warps do nothing.
    explicit QtPlatform(EditorWindow* window);

    BoxAnswer messageBox(std::string_view text, std::string_view caption, BoxButtons buttons,
                         BoxIcon icon, bool ownerless = false) override;
    std::optional<std::string> openFileDialog(std::string_view title,
                                              const FileFilter& filter) override;
    std::optional<std::string> saveFileDialog(std::string_view title, const FileFilter& filter,
                                              std::string_view proposedPath) override;
    DeferrableAnswer askDeferrable(std::string_view text, std::string_view caption,
                                   const DeferrableLabels& labels) override;
    std::optional<int> askInteger(std::string_view text, std::string_view caption, int value,
                                  int minimum, int maximum) override;
    void showHelp(std::string_view richText, std::string_view caption) override;
    bool shiftDown() override;
    bool controlDown() override;
    void warpPointer(int clientX, int clientY) override;
    void setClipboard(std::string_view text, std::span<const uint8_t> points) override;
    ClipboardContents clipboard() override;

private:
    EditorWindow* window_;
    QtDesktopServices desktop_;
};

} // namespace tavo
