#include "common/files/file_read.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/files/file_descriptor.h"
#include "common/files/printable.h"

namespace tavo {
namespace {

FileError readError(FileErrorKind kind, const std::string& path, const std::string& why) {
    return {kind, "cannot read " + printable(path) + ": " + why};
}

FileError notRegular(const std::string& path, mode_t mode) {
    return readError(FileErrorKind::NotRegular, path,
                     std::string("it is ") + fileTypeName(mode) + ", not a regular file");
}

} // namespace

const char* fileTypeName(unsigned mode) {
    switch (mode & S_IFMT) {
    case S_IFDIR:
        return "a directory";
    case S_IFIFO:
        return "a FIFO";
    case S_IFCHR:
        return "a character device";
    case S_IFBLK:
        return "a block device";
    case S_IFSOCK:
        return "a socket";
    case S_IFLNK:
        return "a symbolic link";
    default:
        return "a regular file";
    }
}

FileResult<FilePrefix> readFilePrefix(const std::string& path, std::size_t limit) {
    // Looked at before opening: opening a device can itself do something (rewind a tape).
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return readError(FileErrorKind::CannotOpen, path, std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return notRegular(path, info.st_mode);
    }
    // O_NONBLOCK: should the name be swapped for a FIFO after the look above, open() still
    // returns at once, and the second look below refuses it.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        return readError(FileErrorKind::CannotOpen, path, std::strerror(errno));
    }
    if (::fstat(file.get(), &info) != 0) {
        return readError(FileErrorKind::ReadFailed, path, std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return notRegular(path, info.st_mode);
    }

    // The size is only a hint (the file may grow while it is read): room for what it says, and
    // the buffer grows in steps up to the limit and one byte more, which tells a longer file.
    const std::size_t wanted = limit + 1;
    FilePrefix prefix;
    std::vector<uint8_t>& bytes = prefix.bytes;
    bytes.resize(std::min(wanted, static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)) + 1));
    std::size_t filled = 0;
    while (filled < wanted) {
        if (filled == bytes.size()) {
            bytes.resize(
                std::min(wanted, bytes.size() + std::max<std::size_t>(bytes.size(), 65536)));
        }
        const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return readError(FileErrorKind::ReadFailed, path, std::strerror(errno));
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    prefix.cut = filled > limit;
    bytes.resize(std::min(filled, limit));
    return prefix;
}

FileResult<std::vector<uint8_t>> readWholeFile(const std::string& path, std::size_t limit) {
    FileResult<FilePrefix> prefix = readFilePrefix(path, limit);
    if (!prefix) {
        return prefix.error();
    }
    if (prefix->cut) {
        return readError(FileErrorKind::TooLarge, path,
                         "larger than " + std::to_string(limit) +
                             " bytes, which is too large for this kind of file");
    }
    return std::move(prefix->bytes);
}

} // namespace tavo
