#include "fuzz/scratch_directory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace tavo::fuzz {

ScratchDirectory::ScratchDirectory() {
    // The targets write a file for every input: in memory that is some twenty times faster
    // than on a disk.
    const char* base = std::getenv("TMPDIR");
    std::string folder = base != nullptr && *base != '\0' ? base : "/tmp";
    if ((base == nullptr || *base == '\0') && ::access("/dev/shm", W_OK) == 0) {
        folder = "/dev/shm";
    }
    std::string pattern = folder + "/tavo-fuzz-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch directory in " + pattern);
    }
    path_ = buffer.data();
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDirectory::write(const std::string& name, std::span<const uint8_t> bytes) const {
    std::filesystem::path file = std::filesystem::path(path_) / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
    return file.string();
}

} // namespace tavo::fuzz
