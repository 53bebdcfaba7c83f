#pragma once
// Keeps the running editor in step with its files on disk: when the map, a texture it names or
// the points file is written in place or replaced by a rename, the file is loaded again, as a
// message of the edit session of its own. Writes that come in a burst are loaded once, after they
// settle; our own saves are no change (the points file is compared with the stamp of what was
// last loaded or written).

#include <QtCore/QFileSystemWatcher>
#include <QtCore/QObject>
#include <QtCore/QTimer>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/files/file_stamp.h"
#include "pointeditor/edit/edit_session.h"

namespace tavo {

class FileFollower : public QObject {
public:
    // How long the files must stay quiet before they are looked at.
    static constexpr int SettleMs = 300;

    explicit FileFollower(EditSession& edits, int settleMs = SettleMs);

    // After every message: follows the map and points files the editor holds now, and takes up a
    // check that had to wait for a message, a drag or a selection box to end.
    void follow();

private:
    // Each file of the map (the .bd1, then the textures it names that exist) with its stamp.
    using MapFiles = std::vector<std::pair<std::string, std::optional<FileStamp>>>;

    MapFiles mapFiles() const;
    bool mapChanged(const MapFiles& now) const;
    void watch();
    void check();
    bool busy() const;
    void checkMap();
    void checkPoints();

    EditSession& edits_;
    EditorState& state_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    bool due_ = false;                  // a change waits to be looked at
    std::string mapPath_;               // the map whose files mapFiles_ holds
    MapFiles mapFiles_;                 // as the map was last loaded
    std::string pointPath_;             // the points file being watched
    std::optional<FileStamp> keptOver_; // the points file the author chose not to reload
};

} // namespace tavo
