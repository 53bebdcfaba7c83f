#include "common/files/file_stamp.h"

#include <sys/stat.h>

#include "common/files/file_read.h"

namespace tavo {
namespace {

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

std::optional<FileStamp> takeFileStamp(const std::string& path) {
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) {
        return std::nullopt;
    }
    FileResult<FilePrefix> read = readFilePrefix(path, DataFileLimit);
    if (!read) {
        return std::nullopt;
    }
    FileStamp stamp;
    stamp.path = path;
    stamp.device = before.st_dev;
    stamp.inode = before.st_ino;
    stamp.size = before.st_size;
    stamp.modified = before.st_mtim;
    // Bytes written while they were read belong to no one stat(): kept, they could make a later
    // change look like none.
    struct stat after {};
    stamp.bytesKept = !read->cut && ::stat(path.c_str(), &after) == 0 &&
                      after.st_ino == before.st_ino && after.st_size == before.st_size &&
                      sameTime(after.st_mtim, before.st_mtim);
    if (stamp.bytesKept) {
        stamp.bytes = std::move(read->bytes);
    }
    return stamp;
}

bool changedOnDisk(const FileStamp& stamp, const std::string& path) {
    struct stat now {};
    if (::stat(path.c_str(), &now) != 0) {
        return false;
    }
    if (now.st_dev != stamp.device || now.st_ino != stamp.inode || now.st_size != stamp.size) {
        return true;
    }
    if (sameTime(now.st_mtim, stamp.modified)) {
        return false;
    }
    // Touched: changed only when the bytes differ (or cannot be compared).
    const FileResult<FilePrefix> read = readFilePrefix(path, DataFileLimit);
    return !stamp.bytesKept || !read || read->cut || read->bytes != stamp.bytes;
}

} // namespace tavo
