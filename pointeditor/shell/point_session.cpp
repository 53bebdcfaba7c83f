#include "pointeditor/shell/point_session.h"

#include <QtCore/QFile>
#include <QtWidgets/QWidget>

#include "pointeditor/data/platform.h"
#include "pointeditor/edit/document.h"
#include "pointeditor/shell/shortcuts.h"

namespace tavo {
namespace {

std::string restoreQuestion(const EditorState& state, const RecoveredPoints& points) {
    const std::string& file = points.pointFilePath;
    if (state.english != 0) {
        return "The editor did not end normally and its points were not saved" +
               (file.empty() ? std::string() : " (" + file + ")") + ".\nRestore them?";
    }
    return "前回エディタが正常に終了せず、ポイントが保存されていません" +
           (file.empty() ? std::string() : "（" + file + "）") + "。\n復元しますか？";
}

} // namespace

PointSession::PointSession(EditSession& edits, QWidget& titled, const QString& recoveryDir,
                           int64_t pid, int recoveryIntervalMs)
    : edits_(edits), state_(edits.state()), titled_(titled), recovery_(recoveryDir, pid),
      recoveryDir_(recoveryDir) {
    edits_.setAfterMessage([this] { afterMessage(); });
    recoveryTimer_.setInterval(recoveryIntervalMs);
    connect(&recoveryTimer_, &QTimer::timeout, this, [this] { recovery_.write(state_); });
}

void PointSession::start(const CommandLine& line) {
    if (!line.mapPath.empty()) {
        openBlockFile(state_, line.mapPath);
    }
    if (!line.pointPath.empty()) {
        openPointFile(state_, line.pointPath);
    }
    offerRecovery();
    refreshTitle();
    recoveryTimer_.start();
}

void PointSession::offerRecovery() {
    auto orphan = findOrphanRecovery(recoveryDir_, processRunning);
    if (!orphan || state_.platform == nullptr) {
        return;
    }
    const BoxAnswer answer =
        state_.platform->messageBox(restoreQuestion(state_, orphan->points), "POINT EDITOR",
                                    BoxButtons::YesNo, BoxIcon::Question);
    if (answer == BoxAnswer::Yes) {
        restoreRecovered(state_, orphan->points);
    }
    // Either way it has been answered; restored points are this editor's to keep safe now.
    QFile::remove(orphan->path);
}

void PointSession::afterMessage() {
    refreshTitle();
    recovery_.settle(state_);
}

bool PointSession::takeShortcut(int qtKey, Qt::KeyboardModifiers modifiers, bool buttonHeld) {
    const Shortcut shortcut = shortcutFor(qtKey, modifiers);
    switch (shortcut) {
    case Shortcut::None:
        return false;
    case Shortcut::Undo:
    case Shortcut::Redo:
        shortcut == Shortcut::Undo ? edits_.undo(buttonHeld) : edits_.redo(buttonHeld);
        return true;
    case Shortcut::Help:
        if (state_.platform != nullptr) {
            state_.platform->messageBox(helpText(state_.english != 0),
                                        helpCaption(state_.english != 0), BoxButtons::Ok,
                                        BoxIcon::None);
        }
        return true;
    default:
        break;
    }
    static constexpr std::pair<Shortcut, FileCommand> ShortcutCommands[] = {
        {Shortcut::Save, FileCommand::SaveToCurrent},
        {Shortcut::SaveAs, FileCommand::SavePoint},
        {Shortcut::LoadPoint, FileCommand::LoadPoint},
        {Shortcut::LoadBlock, FileCommand::LoadBlock},
    };
    for (auto [key, command] : ShortcutCommands) {
        if (key == shortcut) {
            edits_.run([command](EditorState& state) { runFileCommand(state, command); },
                       buttonHeld);
        }
    }
    return true;
}

bool PointSession::mayClose() {
    if (edits_.inMessage()) {
        return false; // a box or dialog is open: it answers first
    }
    bool settled = false;
    edits_.run([&settled](EditorState& state) { settled = settleUnsavedPoints(state); }, false);
    return settled;
}

void PointSession::finish() {
    recoveryTimer_.stop();
    recovery_.remove();
}

void PointSession::refreshTitle() {
    const QString title = QString::fromStdString(editorTitle(state_));
    if (titled_.windowTitle() != title) {
        titled_.setWindowTitle(title);
    }
}

} // namespace tavo
