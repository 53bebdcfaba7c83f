#pragma once
// The mission editor's one window: the fields of a mission file, LOAD, SAVE and the language
// switch. The dialog holds the mission only in its controls; missionInfo() and showMissionInfo()
// move it out of and into them, and the file work is mission_info's and mission_file's.

#include <array>
#include <memory>
#include <optional>

#include <QDialog>
#include <QHash>
#include <QString>

#include "common/desktop/desktop_services.h"
#include "common/files/file_stamp.h"
#include "missioneditor/dialog_texts.h"
#include "missioneditor/mission_info.h"

namespace Ui {
class MissionDialog;
}

namespace tavo::mission {

class MultiLineLimit;

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
    bool openFile(const QString& path); // a file named at start: shown as LOAD shows it
    void switchLanguage();              // ENGLISH / 日本語

    // The fields differ from the file last loaded or saved (from a new mission's before that).
    bool edited() const { return !(missionInfo() == savedInfo_); }
    QString currentPath() const { return currentPath_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fillSkyList();
    void reportProblem(const FieldProblem& problem);
    bool writeTo(const QString& path);
    bool mayOverwrite(const QString& path);
    void markSaved(const QString& path);
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
    QString currentPath_;
    std::optional<FileStamp> currentStamp_; // the file at currentPath_ when loaded or saved
    MissionInfo savedInfo_;
};

} // namespace tavo::mission
