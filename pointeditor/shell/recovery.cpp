#include "pointeditor/shell/recovery.h"

#include <QtCore/QDateTime>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "pointeditor/data/file_read.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/edit/document.h"

namespace tavo {
namespace {

constexpr char Tag[] = "TAVORCV1";
constexpr std::size_t TagSize = sizeof(Tag) - 1;
constexpr std::size_t SlotSize = 1 + PointRecordSize;
constexpr std::size_t MaxPathSize = 0xFFFF;
constexpr std::size_t MaxFileSize =
    TagSize + 2 * (2 + MaxPathSize) + std::size_t{MaxPoints} * SlotSize;
constexpr char RecoveryPrefix[] = "pointeditor-";
constexpr char RecoverySuffix[] = ".recovery";

void putPath(std::vector<uint8_t>& out, const std::string& path) {
    // A path too long for the length field is dropped: the points matter more than their name.
    const std::size_t size = path.size() <= MaxPathSize ? path.size() : 0;
    out.push_back(static_cast<uint8_t>(size));
    out.push_back(static_cast<uint8_t>(size >> 8));
    out.insert(out.end(), path.begin(), path.begin() + static_cast<std::ptrdiff_t>(size));
}

// Reads a path at offset, or nothing when the bytes run out.
std::optional<std::string> getPath(std::span<const uint8_t> bytes, std::size_t& offset) {
    if (bytes.size() - offset < 2) {
        return std::nullopt;
    }
    const std::size_t size = bytes[offset] | std::size_t{bytes[offset + 1]} << 8;
    offset += 2;
    if (bytes.size() - offset < size) {
        return std::nullopt;
    }
    std::string path(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                     bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
    offset += size;
    return path;
}

std::optional<int64_t> pidOfFile(const QString& name) {
    if (!name.startsWith(QLatin1String(RecoveryPrefix)) ||
        !name.endsWith(QLatin1String(RecoverySuffix))) {
        return std::nullopt;
    }
    const QString number =
        name.mid(static_cast<qsizetype>(std::strlen(RecoveryPrefix)),
                 name.size() - static_cast<qsizetype>(std::strlen(RecoveryPrefix)) -
                     static_cast<qsizetype>(std::strlen(RecoverySuffix)));
    bool ok = false;
    const qint64 pid = number.toLongLong(&ok);
    return ok && pid > 0 ? std::optional<int64_t>(pid) : std::nullopt;
}

} // namespace

std::vector<uint8_t> encodeRecovery(const RecoveredPoints& points) {
    std::vector<uint8_t> out(Tag, Tag + TagSize);
    putPath(out, points.pointFilePath);
    putPath(out, points.blockFilePath);
    for (int i = 0; i < MaxPoints; ++i) {
        out.push_back(static_cast<uint8_t>(points.table.pointUsed[i]));
        appendRecord(out, points.table.points[i]);
    }
    return out;
}

std::optional<RecoveredPoints> decodeRecovery(std::span<const uint8_t> bytes) {
    if (bytes.size() < TagSize || std::memcmp(bytes.data(), Tag, TagSize) != 0) {
        return std::nullopt;
    }
    std::size_t offset = TagSize;
    RecoveredPoints points;
    auto pointPath = getPath(bytes, offset);
    auto blockPath = pointPath ? getPath(bytes, offset) : std::nullopt;
    if (!blockPath || bytes.size() - offset != std::size_t{MaxPoints} * SlotSize) {
        return std::nullopt;
    }
    points.pointFilePath = *pointPath;
    points.blockFilePath = *blockPath;
    for (int i = 0; i < MaxPoints; ++i, offset += SlotSize) {
        const uint8_t* slot = bytes.data() + offset;
        if (slot[0] > 2) {
            return std::nullopt;
        }
        points.table.pointUsed[i] = static_cast<SlotState>(slot[0]);
        points.table.points[i] = readRecord(slot + 1);
    }
    return points;
}

QString recoveryFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return base + QStringLiteral("/tavo");
}

bool processRunning(int64_t pid) {
    // EPERM: it exists but belongs to someone else.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

RecoveryFile::RecoveryFile(QString folder, int64_t pid)
    : path_(folder + QLatin1Char('/') + QLatin1String(RecoveryPrefix) + QString::number(pid) +
            QLatin1String(RecoverySuffix)) {}

void RecoveryFile::write(const EditorState& state) {
    const PointTable table = state.pointTable;
    if (!hasUnsavedPoints(state) || (written_ && sameTable(*written_, table))) {
        return;
    }
    const std::vector<uint8_t> bytes =
        encodeRecovery({table, state.pointFilePath, state.blockFilePath});
    QDir().mkpath(QFileInfo(path_).absolutePath());
    // Written beside and renamed over, so a crash while writing leaves the previous copy whole.
    QSaveFile file(path_);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
        file.commit()) {
        written_ = table;
    }
}

void RecoveryFile::settle(const EditorState& state) {
    if (written_ && !hasUnsavedPoints(state)) {
        remove();
    }
}

void RecoveryFile::remove() {
    QFile::remove(path_);
    written_.reset();
}

std::optional<OrphanRecovery> findOrphanRecovery(const QString& folder,
                                                 const std::function<bool(int64_t)>& running) {
    std::optional<OrphanRecovery> newest;
    QDateTime newestTime;
    const QFileInfoList files = QDir(folder).entryInfoList(
        {QLatin1String(RecoveryPrefix) + '*' + QLatin1String(RecoverySuffix)}, QDir::Files);
    for (const QFileInfo& info : files) {
        const auto pid = pidOfFile(info.fileName());
        if (!pid || running(*pid) || (newest && info.lastModified() <= newestTime)) {
            continue;
        }
        auto read = readWholeFile(QFile::encodeName(info.filePath()).toStdString(), MaxFileSize);
        auto points = read ? decodeRecovery(*read) : std::nullopt;
        if (points) {
            newest = OrphanRecovery{info.filePath(), std::move(*points)};
            newestTime = info.lastModified();
        }
    }
    return newest;
}

void restoreRecovered(EditorState& state, const RecoveredPoints& points) {
    if (!points.blockFilePath.empty()) {
        openBlockFile(state, points.blockFilePath);
    }
    state.pointTable = points.table;
    state.pointFilePath = points.pointFilePath;
    // Nothing recovered is on disk: against an empty table every used point is a change.
    state.savedPoints = PointTable{};
}

} // namespace tavo
