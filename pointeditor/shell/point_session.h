#pragma once
// What keeps the author's work in the running point editor, around the edit session's messages
// and undo steps: the desktop shortcuts, the question before the window closes, the window
// title, the recovery file, and the files named on the command line.

#include <QtCore/QObject>
#include <QtCore/QTimer>
#include <cstdint>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/edit/edit_session.h"
#include "pointeditor/shell/command_line.h"
#include "pointeditor/shell/recovery.h"

class QWidget;

namespace tavo {

class PointSession : public QObject {
public:
    static constexpr int RecoveryIntervalMs = 30'000;

    // titled: the window whose title follows the points file; recovery files live in
    // recoveryDir, this editor's named by pid.
    PointSession(EditSession& edits, QWidget& titled, const QString& recoveryDir, int64_t pid,
                 int recoveryIntervalMs = RecoveryIntervalMs);

    // Once the window is up: the files of the command line, then the offer of an earlier
    // editor's unsaved points. Neither is an undo step.
    void start(const CommandLine& line);

    // A key the shell takes before the key handler; false when it is not one of them.
    // buttonHeld: undo and redo wait until a drag has ended.
    bool takeShortcut(int qtKey, Qt::KeyboardModifiers modifiers, bool buttonHeld);

    // Whether the window may close now: nothing unsaved, or saved or discarded on the question.
    bool mayClose();

    // The program ends normally: the recovery file goes.
    void finish();

    const UndoHistory& history() const { return edits_.history(); }
    RecoveryFile& recovery() { return recovery_; }

private:
    void afterMessage();
    void refreshTitle();
    void offerRecovery();

    EditSession& edits_;
    EditorState& state_;
    QWidget& titled_;
    RecoveryFile recovery_;
    QString recoveryDir_;
    QTimer recoveryTimer_;
};

} // namespace tavo
