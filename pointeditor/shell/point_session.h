#pragma once
// What keeps the author's work in the running point editor, around the edit session's messages
// and undo steps: the desktop shortcuts, the question before the window closes, the window
// title, the recovery file, the files named on the command line, and reloading the files that
// change on disk (FileFollower).

#include <QtCore/QObject>
#include <QtCore/QTimer>
#include <memory>
#include <optional>
#include <string>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/edit/edit_session.h"
#include "pointeditor/shell/command_line.h"
#include "pointeditor/shell/file_follower.h"
#include "pointeditor/shell/recovery.h"
#include "pointeditor/shell/shortcuts.h"

class QWidget;

namespace tavo {

// When the recovery copy is written besides at once: at least every periodMs while changes
// are unsaved, and afterChangeMs after the last change of a burst.
struct RecoveryTimes {
    int periodMs = 30'000;
    int afterChangeMs = 2'000;
};

class PointSession : public QObject {
public:
    // titled: the window whose title follows the points file; recovery copies live in
    // recoveryDir, and nullopt turns them off (there is no folder for them).
    PointSession(EditSession& edits, QWidget& titled, std::optional<QString> recoveryDir,
                 RecoveryTimes times = {});
    // Hands the edit session's after-message call back to whoever had it before.
    ~PointSession() override;
    PointSession(const PointSession&) = delete;
    PointSession& operator=(const PointSession&) = delete;

    // Once the window is up: the files of the command line, then the offer of an earlier
    // editor's unsaved points. Neither is an undo step.
    void start(const CommandLine& line);

    // A key the shell takes before the key handler; false when it is not one of them.
    // buttonHeld: undo and redo wait until a drag has ended.
    bool takeShortcut(int qtKey, Qt::KeyboardModifiers modifiers, bool buttonHeld);

    // Whether the window may close now: nothing unsaved, or saved or discarded on the question.
    bool mayClose();

    // The program ends normally: the recovery copy goes.
    void finish();

    // The program is being ended from outside (a signal, the session manager, the display
    // gone): the copy is written at once when changes are unsaved, and stays. No box: a failure
    // is a line on standard error.
    void writeRecoveryNow();

    // What F6 does: opens or raises the point inspector. Without one F6 does nothing.
    void setInspectorOpener(std::function<void()> open) { openInspector_ = std::move(open); }

    const UndoHistory& history() const { return edits_.history(); }
    // Null when recovery is off.
    RecoveryFile* recovery() { return recovery_.get(); }

private:
    // Copy, cut, paste and duplicate, each one message; false for any other shortcut.
    bool takeClipboardShortcut(Shortcut shortcut, bool buttonHeld);
    void afterMessage();
    void refreshTitle();
    void offerRecovery();
    // Puts the mission's map and points into `line` where it names none, or tells why not.
    void openMission(CommandLine& line);
    // A line on standard error and a warning box, for what the command line could not open.
    void tell(const std::string& text);
    void writeRecovery();
    // Says once per run that copies cannot be kept: a line on standard error at once, and a
    // box as soon as no message or drag is under way.
    void tellRecoveryProblem(const std::string& reason);
    void showPendingNotice();

    EditSession& edits_;
    EditorState& state_;
    QWidget& titled_;
    FileFollower follower_;
    std::function<void()> previousAfterMessage_;
    std::function<void()> openInspector_;
    std::optional<QString> recoveryDir_;
    std::unique_ptr<RecoveryFile> recovery_; // made once the folder has been accepted
    QTimer periodTimer_;
    QTimer changeTimer_;
    bool problemTold_ = false;
    std::string pendingNotice_; // the box still to show
};

} // namespace tavo
