#include "common/files/file_write.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "common/files/extended_attributes.h"
#include "common/files/file_descriptor.h"
#include "common/files/file_read.h"
#include "common/files/printable.h"

namespace tavo {
namespace {

constexpr int MaxLinkHops = 40; // as the kernel's own limit on a path

FileError writeError(FileErrorKind kind, const std::string& path, const std::string& why) {
    return {kind, "cannot write " + printable(path) + ": " + why};
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at, which need not exist yet. The temporary file must
// lie beside that file, not beside the link: rename() replaces the name it is given, so renaming
// over the link would turn the link into a file of its own (and the file it named would keep its
// old bytes), and a link may point to another file system, where no rename reaches.
FileResult<std::string> followLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno == ENOENT) {
                return current;
            }
            return writeError(FileErrorKind::CannotOpen, path, std::strerror(errno));
        }
        if (!S_ISLNK(info.st_mode)) {
            return current;
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target - 1);
        if (length < 0) {
            return writeError(FileErrorKind::CannotOpen, path, std::strerror(errno));
        }
        const std::string named(target, static_cast<std::size_t>(length));
        current =
            !named.empty() && named.front() == '/' ? named : directoryOf(current) + "/" + named;
    }
    return writeError(FileErrorKind::CannotOpen, path, std::strerror(ELOOP));
}

// Root passes every permission check of the kernel; the mode bits are asked here instead, so
// that a file made read-only stays so whoever saves.
bool mayWrite(const std::string& path, const struct stat& info) {
    if (::geteuid() == 0) {
        return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    }
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// The folder as the user can find it: absolute, without "." and "..".
std::string absoluteFolder(const std::string& folder) {
    std::error_code error;
    std::string text = std::filesystem::absolute(folder, error).lexically_normal().string();
    if (error || text.empty()) {
        return folder;
    }
    if (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

// A folder the user may not write cannot take the temporary file, whatever the target's mode;
// told apart here, because "permission denied" would point at the file. Root may write anywhere
// the kernel lets it.
std::optional<FileError> refuseFolder(const std::string& path, const std::string& folder) {
    if (::geteuid() == 0 || ::faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0 ||
        errno != EACCES) {
        return std::nullopt;
    }
    const std::string absolute = absoluteFolder(folder);
    return FileError{FileErrorKind::FolderNotWritable,
                     folderNotWritableText(printable(path), printable(absolute), false), absolute};
}

// Writes all of `bytes` from `offset` on (pwrite), or from the file position when offset is
// negative.
bool writeAll(int fd, std::span<const uint8_t> bytes, off_t offset = -1) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = offset < 0 ? ::write(fd, bytes.data() + done, bytes.size() - done)
                                         : ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                                    offset + static_cast<off_t>(done));
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

// The old file's owner, group and mode, on the temporary that replaces it. Set-id bits are not
// carried over: they belong to the program that was there, not to new bytes.
bool takeOverAttributes(int fd, const struct stat& old) {
    if (::geteuid() == 0) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            return false;
        }
    } else if (::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Not a member of the old file's group: the file becomes the user's group's.
    }
    return ::fchmod(fd, old.st_mode & 07777 & ~static_cast<mode_t>(S_ISUID | S_ISGID)) == 0;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Removes the temporary file unless it was renamed over the target or must be kept.
class TemporaryName {
public:
    explicit TemporaryName(std::string name) : name_(std::move(name)) {}
    ~TemporaryName() {
        if (!name_.empty()) {
            ::unlink(name_.c_str());
        }
    }
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    const std::string& name() const { return name_; }
    void keep() { name_.clear(); }

private:
    std::string name_;
};

// A new, empty, hidden file beside `real`, with a name short enough for any name `real` may have.
std::pair<FileDescriptor, std::string> makeTemporary(const std::string& real) {
    const std::size_t slash = real.rfind('/');
    const std::string base = slash == std::string::npos ? real : real.substr(slash + 1);
    std::string pattern = directoryOf(real) + "/." + base.substr(0, 200) + ".XXXXXX";
    FileDescriptor file(::mkostemp(pattern.data(), O_CLOEXEC));
    if (file.get() < 0) {
        pattern.clear();
    }
    return {std::move(file), pattern};
}

void syncFolder(const std::string& real) {
    // The rename itself reaches the disk with the directory; done is done, so this is best effort.
    FileDescriptor directory(::open(directoryOf(real).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) {
        ::fsync(directory.get());
    }
}

// At most `limit` bytes and one more from the start of the file: the bytes to put back.
std::optional<std::vector<uint8_t>> readBack(int fd, std::size_t limit) {
    std::vector<uint8_t> bytes(limit + 1);
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got =
            ::pread(fd, bytes.data() + filled, bytes.size() - filled, static_cast<off_t>(filled));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

bool replaceContents(int fd, std::span<const uint8_t> bytes) {
    return ::ftruncate(fd, 0) == 0 && writeAll(fd, bytes, 0) && ::fsync(fd) == 0;
}

// The file keeps its inode, so that its other names (hard links) show the new bytes too. The
// new bytes are on disk in the temporary before the file is touched, and the old ones in memory.
FileResult<void> writeInPlace(const std::string& path, const std::string& real,
                              const struct stat& old, std::span<const uint8_t> bytes,
                              std::size_t keepLimit) {
    const std::string tooLarge = "it has other hard links and is larger than " +
                                 std::to_string(keepLimit) +
                                 " bytes, too large to keep for putting back should the save "
                                 "fail; nothing was written";
    if (static_cast<uint64_t>(old.st_size) > keepLimit) {
        return writeError(FileErrorKind::TooLarge, path, tooLarge);
    }
    auto [safe, name] = makeTemporary(real);
    if (safe.get() < 0) {
        return writeError(FileErrorKind::CannotOpen, path, std::strerror(errno));
    }
    TemporaryName temporary(name);
    auto failed = [&path] {
        return writeError(FileErrorKind::WriteFailed, path, std::strerror(errno));
    };
    if (!writeAll(safe.get(), bytes) || ::fsync(safe.get()) != 0 || ::close(safe.release()) != 0) {
        return failed();
    }
    FileDescriptor file(::open(real.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0) {
        return writeError(FileErrorKind::CannotOpen, path, std::strerror(errno));
    }
    struct stat now {};
    if (::fstat(file.get(), &now) != 0) {
        return failed();
    }
    if (now.st_dev != old.st_dev || now.st_ino != old.st_ino || !S_ISREG(now.st_mode)) {
        return writeError(FileErrorKind::CannotOpen, path,
                          "it was replaced while saving; nothing was written");
    }
    const std::optional<std::vector<uint8_t>> before = readBack(file.get(), keepLimit);
    if (!before) {
        return writeError(FileErrorKind::ReadFailed, path, std::strerror(errno));
    }
    if (before->size() > keepLimit) { // grew since the look above
        return writeError(FileErrorKind::TooLarge, path, tooLarge);
    }
    if (!replaceContents(file.get(), bytes)) {
        const std::string cause = std::strerror(errno);
        if (replaceContents(file.get(), *before)) {
            return writeError(FileErrorKind::WriteFailed, path,
                              cause + "; the file was put back as it was");
        }
        temporary.keep();
        return writeError(FileErrorKind::WriteFailed, path,
                          cause +
                              ", and its old bytes could not be put back; the new bytes are in " +
                              printable(name));
    }
    // Set-id bits belong to the program that was there, as on a replaced file; only root's
    // writes keep them, the kernel drops them for everyone else.
    if ((now.st_mode & (S_ISUID | S_ISGID)) != 0) {
        ::fchmod(file.get(), now.st_mode & 07777 & ~static_cast<mode_t>(S_ISUID | S_ISGID));
    }
    return {};
}

// Writes a new file and renames it over `real` (which names `old` when `exists`).
FileResult<void> replaceFile(const std::string& path, const std::string& real, bool exists,
                             const struct stat& old, std::span<const uint8_t> bytes) {
    auto [file, name] = makeTemporary(real);
    if (file.get() < 0) {
        return writeError(FileErrorKind::CannotOpen, path, std::strerror(errno));
    }
    TemporaryName temporary(name);
    auto failed = [&path] {
        return writeError(FileErrorKind::WriteFailed, path, std::strerror(errno));
    };
    if (!writeAll(file.get(), bytes)) {
        return failed();
    }
    if (exists ? !takeOverAttributes(file.get(), old) : ::fchmod(file.get(), newFileMode()) != 0) {
        return failed();
    }
    if (exists) {
        copyExtendedAttributes(real, old, file.get());
    }
    // A sync or close that fails can mean bytes that never reach the disk: the save failed.
    if (::fsync(file.get()) != 0 || ::close(file.release()) != 0) {
        return failed();
    }
    if (::rename(temporary.name().c_str(), real.c_str()) != 0) {
        return failed();
    }
    temporary.keep();
    return {};
}

} // namespace

FileResult<void> writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                                     std::size_t keepLimit) {
    if (path.empty()) {
        return writeError(FileErrorKind::CannotOpen, path, std::strerror(ENOENT));
    }
    // The file the path names now, links followed by the kernel: that also sees through links
    // that name no path, such as /dev/stdout on a pipe.
    struct stat old {};
    const bool named = ::stat(path.c_str(), &old) == 0;
    if (named && !S_ISREG(old.st_mode)) {
        return writeError(FileErrorKind::NotRegular, path,
                          std::string("it is ") + fileTypeName(old.st_mode) +
                              ", not a regular file; nothing was written");
    }
    const FileResult<std::string> real = followLinks(path);
    if (!real) {
        return real.error();
    }
    const dev_t device = old.st_dev;
    const ino_t inode = old.st_ino;
    const bool exists = ::stat(real->c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return writeError(FileErrorKind::CannotOpen, path, std::strerror(errno));
    }
    // A link whose text names no path to its file (/proc/self/fd/1 on a deleted file) would
    // have us write somewhere else entirely.
    if (named && (!exists || old.st_dev != device || old.st_ino != inode)) {
        return writeError(FileErrorKind::CannotOpen, path, "it is a link that names no file");
    }
    if (exists && !S_ISREG(old.st_mode)) { // replaced since the look above
        return writeError(FileErrorKind::NotRegular, path, "it is no longer a regular file");
    }
    if (exists && !mayWrite(*real, old)) {
        return writeError(FileErrorKind::NotWritable, path, std::strerror(EACCES));
    }
    if (std::optional<FileError> folder = refuseFolder(path, directoryOf(*real))) {
        return std::move(*folder);
    }
    FileResult<void> written = exists && old.st_nlink > 1
                                   ? writeInPlace(path, *real, old, bytes, keepLimit)
                                   : replaceFile(path, *real, exists, old, bytes);
    if (written) {
        syncFolder(*real);
    }
    return written;
}

std::string folderNotWritableText(std::string_view name, std::string_view folder, bool japanese) {
    if (japanese) {
        return std::string(name) + " を保存できません: フォルダ " + std::string(folder) +
               " に書き込めません";
    }
    return "cannot save " + std::string(name) + ": the folder " + std::string(folder) +
           " is not writable";
}

bool isSameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace tavo
