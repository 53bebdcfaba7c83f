#include "pointeditor/data/file_read.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "pointeditor/data/platform.h"

namespace tavo {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::optional<std::vector<uint8_t>> readFilePrefix(const std::string& path, std::size_t limit) {
    // O_NONBLOCK so that a FIFO given as the file cannot hang the editor in open(); it has no
    // effect on the regular files that are read.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        return std::nullopt;
    }
    // A directory opens for reading on Linux, only its reads fail; devices and FIFOs are no data
    // files either. Refuse all of them up front.
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }

    std::vector<uint8_t> bytes(limit);
    std::size_t filled = 0;
    while (filled < limit) {
        ssize_t got = ::read(file.get(), bytes.data() + filled, limit - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
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

std::size_t recordsToRead(int declaredCount, int capacity, std::size_t bytesAfterHeader,
                          std::size_t recordSize) {
    auto wanted = static_cast<std::size_t>(std::clamp(declaredCount, 0, capacity));
    return std::min(wanted, bytesAfterHeader / recordSize);
}

void showFileOpenError(const EditorState& state) {
    if (state.platform != nullptr) {
        state.platform->messageBox("file open error", "error", BoxButtons::Ok, BoxIcon::None);
    }
}

} // namespace tavo
