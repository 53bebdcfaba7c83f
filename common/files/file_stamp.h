#pragma once
// What an editor knows of the file it loaded or last saved, so that a save can tell whether
// someone else (another program, a second editor) changed the file since: the file's identity
// (device and inode), size and modification time, and its bytes, which for the editors' files
// are at most DataFileLimit. Taking a stamp reads the file again; it shows nothing.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tavo {

struct FileStamp {
    std::string path; // as it was given
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    std::vector<uint8_t> bytes; // the whole file when it is no longer than DataFileLimit
    bool bytesKept = false;
};

// The stamp of the regular file `path` names now; nothing when it cannot be read.
std::optional<FileStamp> takeFileStamp(const std::string& path);

// Whether `path` now holds something other than what `stamp` saw: another file (inode), another
// size, or another modification time with other bytes; a file touched without a change is the
// same. A file that is gone, or cannot be looked at, is not "changed": a save simply writes
// it, or gives its own reason why not.
bool changedOnDisk(const FileStamp& stamp, const std::string& path);

} // namespace tavo
