#pragma once
// The desktop services of the editor over Qt Widgets: message boxes and file dialogs owned by
// the main window, the Shift state, the pointer warp, and the overlay text of the session.
// The folder of the last file chosen for each filter is remembered across runs (QSettings).

#include "pointeditor/data/platform.h"

class QMessageBox;

namespace tavo {

class EditorWindow;
class DeviceSession;

class QtPlatform : public Platform {
public:
    // window may be null: boxes then have no owner and warps do nothing.
    QtPlatform(EditorWindow* window, DeviceSession& output);

    BoxAnswer messageBox(std::string_view text, std::string_view caption, BoxButtons buttons,
                         BoxIcon icon, bool ownerless = false) override;
    std::optional<std::string> openFileDialog(std::string_view title,
                                              const FileFilter& filter) override;
    std::optional<std::string> saveFileDialog(std::string_view title, const FileFilter& filter,
                                              std::string_view proposedPath) override;
    bool shiftDown() override;
    void warpPointer(int clientX, int clientY) override;
    void drawText(int x, int y, std::string_view text, uint32_t textColour,
                  uint32_t backColour) override;

private:
    std::optional<std::string> fileDialog(bool save, std::string_view title,
                                          const FileFilter& filter, std::string_view proposedPath);
    void showFrameBeforeModal();

    EditorWindow* window_;
    DeviceSession& output_;
};

// Widens a box so that its caption can be shown whole in the title bar: the caption in the
// title font and TitleBarRoom lines of that font for the title bar's icon and buttons.
inline constexpr int TitleBarRoom = 8;
void fitCaption(QMessageBox& box);

// The name filter Qt's file dialog reads: "description (pattern)".
std::string nameFilterFor(const FileFilter& filter);

} // namespace tavo
