#include "pointeditor/shell/point_session.h"

#include <QtGui/QGuiApplication>
#include <QtWidgets/QWidget>
#include <cstdio>
#include <utility>

#include "common/files/file_read.h"
#include "common/files/printable.h"
#include "missioneditor/mission_paths.h"
#include "pointeditor/data/platform.h"
#include "pointeditor/edit/clipboard.h"
#include "pointeditor/edit/document.h"
#include "pointeditor/shell/shortcuts.h"

namespace tavo {
namespace {

std::string restoreQuestion(const EditorState& state, const RecoveredPoints& points) {
    // The path comes from a file on disk: a newline or an escape sequence in it is shown, not
    // obeyed.
    const std::string file = printable(points.pointFilePath);
    if (state.english != 0) {
        return "The editor did not end normally and its points were not saved" +
               (file.empty() ? std::string() : " (" + file + ")") + ".\nRestore them?";
    }
    return "前回エディタが正常に終了せず、ポイントが保存されていません" +
           (file.empty() ? std::string() : "（" + file + "）") + "。\n復元しますか？";
}

DeferrableLabels restoreLabels(const EditorState& state) {
    if (state.english != 0) {
        return {"Restore", "Discard", "Later"};
    }
    return {"復元", "破棄", "後で"};
}

std::string recoveryNotice(const EditorState& state, const std::string& reason) {
    if (state.english != 0) {
        return "Recovery copies cannot be written: unsaved points are lost if the editor ends "
               "abnormally.\n" +
               reason;
    }
    return std::string("復元用のコピーを書き込めません。") +
           "エディタが異常終了すると、保存していないポイントは失われます。\n" + reason;
}

constexpr char RecoveryOff[] =
    "recovery copies are off: neither XDG_STATE_HOME nor HOME is an absolute path";

} // namespace

PointSession::PointSession(EditSession& edits, QWidget& titled, std::optional<QString> recoveryDir,
                           RecoveryTimes times)
    : edits_(edits), state_(edits.state()), titled_(titled), follower_(edits),
      recoveryDir_(std::move(recoveryDir)) {
    previousAfterMessage_ = edits_.setAfterMessage([this] { afterMessage(); });
    if (recoveryDir_) {
        recovery_ = std::make_unique<RecoveryFile>(*recoveryDir_);
    }
    periodTimer_.setInterval(times.periodMs);
    connect(&periodTimer_, &QTimer::timeout, this, &PointSession::writeRecovery);
    // Restarted by every change: a burst of changes is written once, when it pauses.
    changeTimer_.setSingleShot(true);
    changeTimer_.setInterval(times.afterChangeMs);
    connect(&changeTimer_, &QTimer::timeout, this, &PointSession::writeRecovery);
}

PointSession::~PointSession() {
    edits_.setAfterMessage(std::move(previousAfterMessage_));
}

void PointSession::start(const CommandLine& line) {
    for (const std::string& path : line.refused) {
        tell(refusedFileText(path, state_.english != 0));
    }
    CommandLine files = line;
    if (!line.missionPath.empty()) {
        openMission(files);
    }
    if (!files.mapPath.empty()) {
        openBlockFile(state_, files.mapPath);
    }
    if (!files.pointPath.empty()) {
        openPointFile(state_, files.pointPath);
    }
    if (!recoveryDir_) {
        tellRecoveryProblem(RecoveryOff);
    } else if (auto prepared = prepareRecoveryFolder(*recoveryDir_); !prepared) {
        recovery_.reset();
        tellRecoveryProblem(prepared.error());
    } else {
        offerRecovery();
    }
    refreshTitle();
    follower_.follow();
    showPendingNotice();
    periodTimer_.start();
}

void PointSession::openMission(CommandLine& line) {
    const auto bytes = readWholeFile(line.missionPath, DataFileLimit);
    if (!bytes) {
        tell(bytes.error().text);
        return;
    }
    const mission::MissionInfo info = mission::readMissionInfo(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    const auto found =
        mission::resolveMissionFiles(info, mission::startFolder(line.missionPath), std::nullopt);
    if (!found) {
        tell(mission::describeUnresolved(found.error(), state_.english != 0));
        return;
    }
    // A map or points named beside the mission are the author's choice over the mission's.
    if (line.mapPath.empty()) {
        line.mapPath = found->mapPath;
    }
    if (line.pointPath.empty()) {
        line.pointPath = found->pointPath;
    }
}

void PointSession::tell(const std::string& text) {
    std::fprintf(stderr, "pointeditor: %s\n", text.c_str());
    if (state_.platform != nullptr) {
        state_.platform->messageBox(text, "POINT EDITOR", BoxButtons::Ok, BoxIcon::Warning);
    }
}

void PointSession::offerRecovery() {
    std::optional<OrphanRecovery> orphan = findOrphanRecovery(*recoveryDir_);
    if (!orphan || state_.platform == nullptr) {
        return;
    }
    const DeferrableAnswer answer = state_.platform->askDeferrable(
        restoreQuestion(state_, orphan->points), "POINT EDITOR", restoreLabels(state_));
    if (answer == DeferrableAnswer::Discard) {
        orphan->discard();
    } else if (answer == DeferrableAnswer::Yes) {
        restoreRecovered(state_, orphan->points);
        // The old copy goes only once this editor's own holds the points: an end before that
        // still finds them.
        writeRecovery();
        if (recovery_ != nullptr && recovery_->holds(state_.pointTable)) {
            orphan->discard();
        }
    }
    // Later: the copy stays, and is offered again at the next start.
}

void PointSession::writeRecovery() {
    writeRecoveryNow();
    showPendingNotice();
}

void PointSession::writeRecoveryNow() {
    if (recovery_ == nullptr) {
        return;
    }
    if (auto written = recovery_->write(state_); !written) {
        tellRecoveryProblem(written.error());
    }
}

void PointSession::tellRecoveryProblem(const std::string& reason) {
    if (problemTold_) {
        return;
    }
    problemTold_ = true;
    std::fprintf(stderr, "pointeditor: %s\n", reason.c_str());
    pendingNotice_ = recoveryNotice(state_, reason);
}

void PointSession::showPendingNotice() {
    constexpr Qt::MouseButtons DragButtons = Qt::LeftButton | Qt::RightButton;
    if (pendingNotice_.empty() || state_.platform == nullptr || edits_.inMessage() ||
        (QGuiApplication::mouseButtons() & DragButtons) != 0) {
        return; // a box now would break into a command or a drag; the next write tries again
    }
    const std::string notice = std::exchange(pendingNotice_, {});
    state_.platform->messageBox(notice, "POINT EDITOR", BoxButtons::Ok, BoxIcon::Warning);
}

void PointSession::afterMessage() {
    refreshTitle();
    follower_.follow();
    if (recovery_ == nullptr) {
        return;
    }
    recovery_->settle(state_);
    if (hasUnsavedPoints(state_) && !recovery_->holds(state_.pointTable)) {
        changeTimer_.start();
    }
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
            state_.platform->showHelp(helpText(state_.english != 0),
                                      helpCaption(state_.english != 0));
        }
        return true;
    case Shortcut::Inspector:
        if (openInspector_) {
            openInspector_();
        }
        return true;
    default:
        break;
    }
    if (takeClipboardShortcut(shortcut, buttonHeld)) {
        return true;
    }
    static constexpr std::pair<Shortcut, FileCommand> ShortcutCommands[] = {
        {Shortcut::Save, FileCommand::SaveToCurrent},
        {Shortcut::SaveAs, FileCommand::SavePoint},
        {Shortcut::LoadPoint, FileCommand::LoadPoint},
        {Shortcut::LoadBlock, FileCommand::LoadBlock},
    };
    for (const auto& [key, command] : ShortcutCommands) {
        if (key == shortcut) {
            const FileCommand chosen = command; // a structured binding cannot be captured
            edits_.run(
                [chosen](EditorState& state) {
                    // A shortcut is no menu choice: the command under way goes on after it.
                    const int32_t mode = state.menuMode;
                    runFileCommand(state, chosen);
                    state.menuMode = mode;
                },
                buttonHeld);
        }
    }
    return true;
}

bool PointSession::takeClipboardShortcut(Shortcut shortcut, bool buttonHeld) {
    static constexpr std::pair<Shortcut, void (*)(EditorState&)> ClipboardCommands[] = {
        {Shortcut::Copy, copySelection},
        {Shortcut::Cut, cutSelection},
        {Shortcut::Paste, pasteClipboard},
        {Shortcut::Duplicate, duplicateSelection},
    };
    for (const auto& [key, command] : ClipboardCommands) {
        if (key == shortcut) {
            edits_.run(command, buttonHeld);
            return true;
        }
    }
    return false;
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
    periodTimer_.stop();
    changeTimer_.stop();
    if (recovery_ != nullptr) {
        recovery_->finish();
    }
}

void PointSession::refreshTitle() {
    const QString title = QString::fromStdString(editorTitle(state_));
    if (titled_.windowTitle() != title) {
        titled_.setWindowTitle(title);
    }
}

} // namespace tavo
