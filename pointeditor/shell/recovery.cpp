#include "pointeditor/shell/recovery.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "common/files/file_write.h"
#include "common/files/printable.h"

#include "common/files/file_read.h"
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
constexpr char LockSuffix[] = ".lock";

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

const std::size_t SmallestRecoverySize = TagSize + 2 * 2 + std::size_t{MaxPoints} * SlotSize;
const std::size_t LargestRecoverySize = MaxFileSize;

std::optional<QString> recoveryFolder(const EnvironmentLookup& environment) {
    const auto absolute = [&environment](const char* name) -> std::optional<QString> {
        const std::optional<std::string> value = environment(name);
        if (!value || value->empty() || value->front() != '/') {
            return std::nullopt;
        }
        return QFile::decodeName(QByteArray::fromStdString(*value));
    };
    if (auto state = absolute("XDG_STATE_HOME")) {
        return *state + QStringLiteral("/tavo");
    }
    if (auto home = absolute("HOME")) {
        return *home + QStringLiteral("/.local/state/tavo");
    }
    return std::nullopt;
}

Result<void, std::string> prepareRecoveryFolder(const QString& folder) {
    const std::string path = QFile::encodeName(folder).toStdString();
    const auto refuse = [&path](const std::string& why) -> Result<void, std::string> {
        return "cannot keep recovery copies in " + printable(path) + ": " + why;
    };
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    // A parent that cannot be made shows as the folder missing, just below.
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return refuse(std::strerror(errno));
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return refuse(std::strerror(errno));
    }
    if (!S_ISDIR(info.st_mode)) {
        return refuse(std::string("it is ") + fileTypeName(info.st_mode) + ", not a folder");
    }
    if (info.st_uid != ::geteuid()) {
        return refuse("it belongs to another user");
    }
    // The copies hold the user's work and the paths of their files: the folder is theirs alone.
    if ((info.st_mode & 077) != 0 && ::chmod(path.c_str(), info.st_mode & 07700) != 0) {
        return refuse(std::strerror(errno));
    }
    if (::access(path.c_str(), W_OK | X_OK) != 0) {
        return refuse(std::strerror(errno));
    }
    return {};
}

std::optional<RecoveryLock> RecoveryLock::tryTake(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    constexpr int Flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    int fd = ::open(name.constData(), Flags | O_CREAT | O_EXCL, 0600);
    const bool made = fd >= 0;
    if (!made && errno == EEXIST) {
        fd = ::open(name.constData(), Flags);
    }
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    RecoveryLock lock(path, fd);
    lock.made_ = made;
    return lock;
}

RecoveryLock::RecoveryLock(RecoveryLock&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), made_(other.made_) {}

RecoveryLock& RecoveryLock::operator=(RecoveryLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
        made_ = other.made_;
    }
    return *this;
}

RecoveryLock::~RecoveryLock() {
    if (fd_ >= 0) {
        ::close(fd_); // lets the lock go; the file stays for the next one who asks
    }
}

void RecoveryLock::removeFile() {
    if (fd_ >= 0) {
        ::unlink(QFile::encodeName(path_).constData());
        ::close(std::exchange(fd_, -1));
    }
}

QString recoveryLockPath(const QString& copyPath) {
    QString path = copyPath;
    if (path.endsWith(QLatin1String(RecoverySuffix))) {
        path.chop(static_cast<qsizetype>(std::strlen(RecoverySuffix)));
    }
    return path + QLatin1String(LockSuffix);
}

RecoveryFile::RecoveryFile(const QString& folder)
    : path_(folder + QLatin1Char('/') + QLatin1String(RecoveryPrefix) +
            QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') +
            QString::number(QRandomGenerator::system()->generate64(), 16) +
            QLatin1String(RecoverySuffix)) {}

// The lock lives on a companion file, not on the copy: every write renames a new file over the
// copy, and a lock on the old inode would be gone with it.
Result<void, std::string> RecoveryFile::claim() {
    const std::string name = QFile::encodeName(path_).toStdString();
    if (!lock_) {
        lock_ = RecoveryLock::tryTake(recoveryLockPath(path_));
        if (!lock_) {
            return "cannot lock " +
                   printable(QFile::encodeName(recoveryLockPath(path_)).toStdString()) + ": " +
                   std::strerror(errno);
        }
    }
    if (!made_) {
        // Made private before the first write: the atomic writer keeps an existing file's mode,
        // and only that.
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            return "cannot write " + printable(name) + ": " + std::strerror(errno);
        }
        ::close(fd);
        made_ = true;
    }
    return {};
}

Result<void, std::string> RecoveryFile::write(const EditorState& state) {
    const PointTable& table = state.pointTable;
    if (!hasUnsavedPoints(state) || holds(table)) {
        return {};
    }
    if (auto claimed = claim(); !claimed) {
        return claimed.error();
    }
    const std::vector<uint8_t> bytes =
        encodeRecovery({table, state.pointFilePath, state.blockFilePath});
    // Written beside and renamed over: a write that fails (a full disk) leaves the previous copy.
    const FileResult<void> written =
        writeFileAtomically(QFile::encodeName(path_).toStdString(), bytes);
    if (!written) {
        return written.error().text;
    }
    written_ = table;
    return {};
}

void RecoveryFile::settle(const EditorState& state) {
    if (made_ && !hasUnsavedPoints(state)) {
        ::unlink(QFile::encodeName(path_).constData());
        made_ = false;
        written_.reset();
    }
}

void RecoveryFile::finish() {
    if (made_) {
        ::unlink(QFile::encodeName(path_).constData());
        made_ = false;
        written_.reset();
    }
    if (lock_) {
        lock_->removeFile();
        lock_.reset();
    }
}

void OrphanRecovery::discard() {
    ::unlink(QFile::encodeName(path).constData());
    lock.removeFile();
}

std::vector<QString> recoveryCandidates(const QString& folder) {
    // Sorting by time stats every entry; nothing is opened until the few are chosen.
    const QFileInfoList files = QDir(folder).entryInfoList(
        {QLatin1String(RecoveryPrefix) + '*' + QLatin1String(RecoverySuffix)},
        QDir::Files | QDir::Hidden, QDir::Time);
    std::vector<QString> candidates;
    for (const QFileInfo& info : files) {
        if (candidates.size() == RecoveryCandidates) {
            break;
        }
        const auto size = static_cast<std::size_t>(info.size());
        if (size >= SmallestRecoverySize && size <= LargestRecoverySize) {
            candidates.push_back(info.filePath());
        }
    }
    return candidates;
}

std::optional<OrphanRecovery> findOrphanRecovery(const QString& folder) {
    for (const QString& path : recoveryCandidates(folder)) {
        std::optional<RecoveryLock> lock = RecoveryLock::tryTake(recoveryLockPath(path));
        if (!lock) {
            continue; // a running editor's
        }
        auto read = readWholeFile(QFile::encodeName(path).toStdString(), LargestRecoverySize);
        auto points = read ? decodeRecovery(*read) : std::nullopt;
        if (points) {
            return OrphanRecovery{path, std::move(*points), std::move(*lock)};
        }
        if (lock->madeFile()) {
            lock->removeFile(); // no lock file was there: leave none behind
        }
    }
    return std::nullopt;
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
