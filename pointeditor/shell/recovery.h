#pragma once
// Crash recovery: while there are unsaved changes the points table is copied now and then into
// a file of the user's state folder, with the paths of the points and map files it belongs to.
// Each running editor writes its own copy under a name no other run uses, and holds a lock on
// the copy's companion lock file from its first copy until it ends; at start an editor offers
// the newest copy that nobody holds. The copies and their folder are private to the user.
//
// This is no place for boxes: every step that can fail gives its reason as a line, and the
// session decides how to say it.

#include <QtCore/QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/locale/locale_rule.h"
#include "common/result.h"
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

// The sizes a copy can have: both paths empty, both as long as their length field allows.
extern const std::size_t SmallestRecoverySize;
extern const std::size_t LargestRecoverySize;

// $XDG_STATE_HOME/tavo when that is an absolute path, else $HOME/.local/state/tavo when HOME is
// one; nullopt when neither is: recovery is off rather than writing at the file system's root.
std::optional<QString> recoveryFolder(const EnvironmentLookup& environment);

// Makes the folder private (0700), or takes a folder of ours found wider back to that, so
// copies can go there; the reason, a line naming the folder, when they cannot.
Result<void, std::string> prepareRecoveryFolder(const QString& folder);

// An exclusive flock() held on an open lock file until this is destroyed or released.
class RecoveryLock {
public:
    // The lock when nobody else holds it; the file is made (0600) when it is missing.
    static std::optional<RecoveryLock> tryTake(const QString& path);

    RecoveryLock(RecoveryLock&& other) noexcept;
    RecoveryLock& operator=(RecoveryLock&& other) noexcept;
    RecoveryLock(const RecoveryLock&) = delete;
    RecoveryLock& operator=(const RecoveryLock&) = delete;
    ~RecoveryLock();

    // Removes the lock file, then lets the lock go: whoever opened it meanwhile holds a lock
    // on a file that no longer has a name, and finds no copy beside it.
    void removeFile();
    // Whether tryTake made the file (there was none).
    bool madeFile() const { return made_; }

private:
    RecoveryLock(QString path, int fd) : path_(std::move(path)), fd_(fd) {}

    QString path_;
    int fd_ = -1;
    bool made_ = false;
};

// The lock file that goes with a copy: its name with ".lock" for ".recovery".
QString recoveryLockPath(const QString& copyPath);

class RecoveryFile {
public:
    // folder: where the copy goes (prepareRecoveryFolder has accepted it). The copy's name
    // holds the process id for people and a random part for this run only.
    explicit RecoveryFile(const QString& folder);
    RecoveryFile(const RecoveryFile&) = delete;
    RecoveryFile& operator=(const RecoveryFile&) = delete;
    // Leaves the copy and the lock file where they are: only finish() and settle() remove
    // them, so an editor that does not end normally leaves an orphan.
    ~RecoveryFile() = default;

    QString path() const { return path_; }

    // Writes the table when it has unsaved changes that the copy does not hold yet; the caller
    // decides when. A write that fails leaves the previous copy as it was and gives the reason.
    Result<void, std::string> write(const EditorState& state);
    // Whether the copy holds exactly this table.
    bool holds(const PointTable& table) const { return written_ && sameTable(*written_, table); }
    // Removes the copy once nothing is unsaved (after a save, a discarding load, an undo).
    void settle(const EditorState& state);
    // The normal end: the copy goes, and with it the lock file.
    void finish();

private:
    Result<void, std::string> claim();

    QString path_;
    std::optional<RecoveryLock> lock_;
    bool made_ = false;                 // this run has made the file at path_
    std::optional<PointTable> written_; // what the file holds, when it exists
};

struct OrphanRecovery {
    QString path;
    RecoveredPoints points;
    RecoveryLock lock; // held while the copy is offered, so no other editor offers it too

    // The copy has been answered for: it goes, and its lock file with it.
    void discard();
};

// How many copies, newest first, an editor looks at when it starts.
inline constexpr std::size_t RecoveryCandidates = 8;

// The copies of folder worth opening, newest first, at most RecoveryCandidates: those whose
// size a copy can have, found by their names and sizes alone.
std::vector<QString> recoveryCandidates(const QString& folder);

// The newest of the candidates that nobody holds and that reads as a copy; unreadable ones are
// skipped and left alone.
std::optional<OrphanRecovery> findOrphanRecovery(const QString& folder);

// Puts recovered points in place as unsaved changes to the file they belong to, and loads the
// map they were placed on when it is known (an unreadable map gives the usual error box).
void restoreRecovered(EditorState& state, const RecoveredPoints& points);

} // namespace tavo
