#include "pointeditor/shell/file_follower.h"

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QApplication>

#include "pointeditor/data/block_file.h"
#include "pointeditor/edit/document.h"

namespace tavo {

namespace {

QString qtPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

FileFollower::FileFollower(EditSession& edits, int settleMs)
    : edits_(edits), state_(edits.state()) {
    // Restarted by every change: a burst of writes is looked at once, when it has settled.
    settle_.setSingleShot(true);
    settle_.setInterval(settleMs);
    connect(&settle_, &QTimer::timeout, this, &FileFollower::check);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    // The folders too: a file replaced by a rename, or a texture that appears, shows there.
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_,
            qOverload<>(&QTimer::start));
}

void FileFollower::follow() {
    bool moved = false;
    if (state_.blockFilePath != mapPath_) {
        mapPath_ = state_.blockFilePath;
        mapFiles_ = mapFiles();
        moved = true;
    }
    if (state_.pointFilePath != pointPath_) {
        pointPath_ = state_.pointFilePath;
        keptOver_.reset();
        moved = true;
    }
    if (moved) {
        watch();
    }
}

FileFollower::MapFiles FileFollower::mapFiles() const {
    MapFiles files;
    if (state_.blockFilePath.empty()) {
        return files;
    }
    files.emplace_back(state_.blockFilePath, takeFileStamp(state_.blockFilePath));
    for (int slot = 0; slot < TextureCount; ++slot) {
        if (std::optional<std::string> texture = resolveTexturePath(state_, slot)) {
            std::optional<FileStamp> stamp = takeFileStamp(*texture);
            files.emplace_back(std::move(*texture), std::move(stamp));
        }
    }
    return files;
}

void FileFollower::watch() {
    QStringList wanted;
    const auto want = [&wanted](const QString& path) {
        if (!path.isEmpty() && QFileInfo::exists(path) && !wanted.contains(path)) {
            wanted << path;
        }
    };
    for (const auto& [path, stamp] : mapFiles_) {
        want(qtPath(path));
        want(QFileInfo(qtPath(path)).absolutePath());
    }
    if (!pointPath_.empty()) {
        want(qtPath(pointPath_));
        want(QFileInfo(qtPath(pointPath_)).absolutePath());
    }
    QStringList stale;
    for (const QString& watched : watcher_.files() + watcher_.directories()) {
        if (!wanted.contains(watched)) {
            stale << watched;
        }
    }
    if (!stale.isEmpty()) {
        watcher_.removePaths(stale);
    }
    const QStringList watched = watcher_.files() + watcher_.directories();
    wanted.removeIf([&watched](const QString& path) { return watched.contains(path); });
    if (!wanted.isEmpty()) {
        watcher_.addPaths(wanted);
    }
}

bool FileFollower::busy() const {
    constexpr Qt::MouseButtons DragButtons = Qt::LeftButton | Qt::RightButton;
    return edits_.inMessage() || state_.boxView != NoPane ||
           (QGuiApplication::mouseButtons() & DragButtons) != 0 ||
           QApplication::activeModalWidget() != nullptr;
}

void FileFollower::check() {
    if (busy()) {
        settle_.start(); // a reload inside a command, a drag or a box would pull the files away
        return;
    }
    // A file replaced by a rename is another file: its watch went with the old one.
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    watch();
    checkMap();
    checkPoints();
}

bool FileFollower::mapChanged(const MapFiles& now) const {
    if (now.size() != mapFiles_.size()) {
        return true; // a texture appeared or went
    }
    for (std::size_t i = 0; i < now.size(); ++i) {
        const auto& [path, stamp] = mapFiles_[i];
        if (now[i].first != path || now[i].second.has_value() != stamp.has_value() ||
            (stamp && changedOnDisk(*stamp, path))) {
            return true;
        }
    }
    return false;
}

void FileFollower::checkMap() {
    const MapFiles now = mapFiles();
    // A map that cannot be read just now is being written: its next change comes.
    if (now.empty() || !now.front().second || !mapChanged(now)) {
        return;
    }
    edits_.run([](EditorState& state) { reloadBlockFile(state); }, false);
    mapFiles_ = mapFiles();
    // The map's stamp from before the load: a write during it is a change still to come.
    mapFiles_.front().second = now.front().second;
    watch();
}

void FileFollower::checkPoints() {
    const std::optional<FileStamp>& loaded = state_.pointFileStamp;
    if (pointPath_.empty() || !loaded || loaded->path != pointPath_ ||
        !changedOnDisk(*loaded, pointPath_)) {
        return; // our own save left the stamp of what it wrote
    }
    std::optional<FileStamp> now = takeFileStamp(pointPath_);
    if (!now || (keptOver_ && !changedOnDisk(*keptOver_, pointPath_))) {
        return; // being written, or the author already kept their points over this version
    }
    bool reloaded = false;
    edits_.run([&reloaded](EditorState& state) { reloaded = reloadPointFile(state); }, false);
    keptOver_ = reloaded ? std::nullopt : std::move(now);
}

} // namespace tavo
