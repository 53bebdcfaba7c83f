#pragma once
// Crash recovery: while there are unsaved changes the points table is copied now and then into
// a file of the user's state folder, with the paths of the points and map files it belongs to.
// Each running editor writes its own file, named by its process id, so two editors never
// overwrite each other's; at start an editor offers the newest file whose process is gone.

#include <QtCore/QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "pointeditor/data/editor_state.h"

namespace tavo {

struct RecoveredPoints {
    PointTable table{};
    std::string pointFilePath; // empty when the points had no file yet
    std::string blockFilePath; // empty when no map was loaded
};

// The file's bytes: a tag, the two paths (16-bit length, bytes), then every slot's state and
// record. The reader refuses anything that does not have exactly that shape.
std::vector<uint8_t> encodeRecovery(const RecoveredPoints& points);
std::optional<RecoveredPoints> decodeRecovery(std::span<const uint8_t> bytes);

// $XDG_STATE_HOME/tavo, or ~/.local/state/tavo when it is unset.
QString recoveryFolder();

// Whether a process with this id still exists.
bool processRunning(int64_t pid);

class RecoveryFile {
public:
    RecoveryFile(QString folder, int64_t pid);

    QString path() const { return path_; }

    // Writes the table when it has unsaved changes that the file does not hold yet; the
    // caller decides how often (a timer).
    void write(const EditorState& state);
    // Removes the file once nothing is unsaved (after a save, a discarding load, an undo).
    void settle(const EditorState& state);
    void remove();

private:
    QString path_;
    std::optional<PointTable> written_; // what the file holds, when it exists
};

struct OrphanRecovery {
    QString path;
    RecoveredPoints points;
};

// The newest readable recovery file in folder whose editor no longer runs; unreadable ones are
// skipped and left alone.
std::optional<OrphanRecovery> findOrphanRecovery(const QString& folder,
                                                 const std::function<bool(int64_t)>& running);

// Puts recovered points in place as unsaved changes to the file they belong to, and loads the
// map they were placed on when it is known (an unreadable map gives the usual error box).
void restoreRecovered(EditorState& state, const RecoveredPoints& points);

} // namespace tavo
