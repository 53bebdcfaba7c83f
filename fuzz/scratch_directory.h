#pragma once
// A directory of its own under $TMPDIR (or /dev/shm, or /tmp) for the life of the object,
// removed with everything in it afterwards.

#include <cstdint>
#include <span>
#include <string>

namespace tavo::fuzz {

class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& path() const { return path_; }

    // Writes `bytes` as the whole file `name` (which may hold '/'; folders are made) and returns
    // its path.
    std::string write(const std::string& name, std::span<const uint8_t> bytes) const;

private:
    std::string path_;
};

} // namespace tavo::fuzz
