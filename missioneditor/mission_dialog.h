#pragma once
// The mission editor's one window: the fields of a mission file, LOAD, SAVE and the language
// switch. The dialog holds the mission only in its controls; missionInfo() and showMissionInfo()
// move it out of and into them, and the file work is mission_info's and mission_file's.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QDialog>
#include <QHash>
#include <QString>
#include <QStringList>

#include "common/desktop/desktop_services.h"
#include "common/files/file_stamp.h"
#include "common/locale/qt_translations.h"
#include "missioneditor/dialog_texts.h"
#include "missioneditor/mission_info.h"

namespace Ui {
class MissionDialog;
}

namespace tavo::mission {

class MultiLineLimit;

// Starts a program on its own, not waiting for it; false when it could not be started.
using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;

class MissionDialog : public QDialog {
    Q_OBJECT

public:
    // Starts in Japanese when `japanese`, else in English, with a new mission's defaults. The
    // services' boxes and dialogs are expected to be owned by this dialog, their error boxes by
    // no window.
    MissionDialog(DesktopServices& services, bool japanese, QWidget* parent = nullptr);
    ~MissionDialog() override;

    // The widget with a control id of controls.h, nullptr for any other id.
    QWidget* control(int id) const;

    MissionInfo missionInfo() const;
    void showMissionInfo(const MissionInfo& info);

    bool english() const { return english_; }

    // SAVE and Ctrl+S ask before writing over the file last loaded or saved when another program
    // has changed it since; No, the default, writes nothing.
    void load();          // LOAD: choose a file and show it, after asking about edits
    bool save();          // SAVE: choose a file and write the fields to it
    bool saveToCurrent(); // Ctrl+S: write to the file last loaded or saved, else as SAVE
    // A file named at start, shown as LOAD shows it; `path` is the bytes the system names it by.
    bool openFile(const std::string& path);
    void switchLanguage(); // ENGLISH / 日本語

    // F5: checks the mission as the fields stand, saved or not (the root looked for from the
    // file's folder, or from the working directory for a mission never saved), and shows what
    // was found in one box.
    void checkMission();
    // F6 and Ctrl+E: starts the point editor on the mission's map and points, in this dialog's
    // language, or says which path leads to no file and starts nothing.
    void openInPointEditor();
    // How the point editor is started: QProcess::startDetached unless a test records it.
    void setLauncher(Launcher launcher) { launcher_ = std::move(launcher); }

    // The fields differ from the file last loaded or saved (from a new mission's before that),
    // by an edit or because the load had to cut or replace something.
    bool edited() const { return loadChanged_ || !(missionInfo() == savedInfo_); }
    const std::string& currentPath() const { return currentPath_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fillSkyList();
    void showPathSeparators(); // the path fields' font for the language shown
    void reportProblem(const FieldProblem& problem);
    void reportLoadChanges(const MissionRead& read);
    QString fieldLabel(Field field) const;
    bool writeTo(const std::string& path);
    bool mayOverwrite(const std::string& path);
    void markSaved(const std::string& path);
    // Before edited fields are replaced or the editor ends; false: keep everything as it is.
    bool settleEdits();
    void refreshTitle();

    std::unique_ptr<Ui::MissionDialog> ui_;
    DesktopServices& services_;
    QHash<int, QWidget*> controls_;
    std::array<QString, labelSwapTable.size()> swapSlots_; // the labels of the language not shown
    bool english_ = false;
    int keptFlags_ = 0; // flag bits read from a file that no check box shows
    MultiLineLimit* briefingLimit_ = nullptr;
    std::string currentPath_;               // bytes, as the system names the file
    std::optional<FileStamp> currentStamp_; // the file at currentPath_ when loaded or saved
    MissionInfo savedInfo_;
    // The last file loaded as read, so that fields not edited since are written with its bytes.
    std::optional<MissionRead> loaded_;
    bool loadChanged_ = false; // that load cut or replaced something, and it is not saved yet
    Launcher launcher_;
    QtTranslations qtTexts_; // Qt's own buttons and dialogs in the language shown
};

} // namespace tavo::mission
