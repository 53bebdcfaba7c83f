#pragma once
// DesktopServices over Qt Widgets, for both programs: message boxes and file dialogs owned by
// the program's window. Where the two programs' boxes and dialogs have always differed, a
// DesktopStyle says which each one shows.

#include <functional>

#include "common/desktop/desktop_services.h"

class QFileDialog;
class QMessageBox;
class QString;
class QWidget;

namespace tavo {

struct DesktopStyle {
    // Qt's own file dialog, its filter shown with the pattern, starting in the folder of the last
    // file chosen with the same filter (remembered across runs in QSettings). Otherwise the
    // desktop's dialog through Qt's static functions: the filter shown by its name alone, as
    // the Windows dialogs did, starting in the folder Qt picks.
    bool ownFileDialog = false;
    // Boxes wide enough for their whole caption in the title bar (fitCaption).
    bool wholeCaption = false;
    // Runs before a box or dialog with an owner opens, for a frame the program wants shown under
    // it.
    std::function<void()> beforeModal;
};

class QtDesktopServices : public DesktopServices {
public:
    // owner may be null: boxes and dialogs then have no owner.
    QtDesktopServices(QWidget* owner, DesktopStyle style);

    // For a program whose window is made after its services (the window asks through them).
    void setOwner(QWidget* owner) { owner_ = owner; }

    BoxAnswer messageBox(std::string_view text, std::string_view caption, BoxButtons buttons,
                         BoxIcon icon, bool ownerless = false) override;
    std::optional<std::string> openFileDialog(std::string_view title,
                                              const FileFilter& filter) override;
    std::optional<std::string> saveFileDialog(std::string_view title, const FileFilter& filter,
                                              std::string_view proposedPath) override;

private:
    std::optional<std::string> fileDialog(bool save, std::string_view title,
                                          const FileFilter& filter, std::string_view proposedPath);
    std::optional<QString> ownFileDialog(bool save, const QString& title, const FileFilter& filter,
                                         const QString& proposedPath);
    QString desktopFileDialog(bool save, const QString& title, const FileFilter& filter,
                              const QString& proposedPath);
    std::optional<QString> runFileDialog(QFileDialog& dialog, bool save, const FileFilter& filter);
    void beforeModal();

    QWidget* owner_;
    DesktopStyle style_;
};

// Widens a box so that its caption can be shown whole in the title bar: the caption in the
// title font and TitleBarRoom lines of that font for the title bar's icon and buttons.
inline constexpr int TitleBarRoom = 8;
void fitCaption(QMessageBox& box);

// The name filter Qt's file dialog reads: "description (pattern)".
std::string nameFilterFor(const FileFilter& filter);

// The extension a save dialog adds to a name typed without one: the pattern's after "*.", or
// none when the pattern is not that simple ("*", "*.tar.*").
std::string defaultSuffixFor(const FileFilter& filter);

} // namespace tavo
