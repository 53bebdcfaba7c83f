#pragma once
// A directory of its own under $TMPDIR (or /dev/shm, or the system's temporary directory) for
// the life of the object, removed with everything in it afterwards.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unistd.h>

namespace tavo::testing {

class ScratchDirectory {
public:
    ScratchDirectory() : path_(make()) {}
    ~ScratchDirectory() {
        std::error_code ignored; // removing must not throw
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& path() const { return path_; }
    std::string at(const std::string& name) const { return path_ + "/" + name; }

    // Writes `bytes` as the whole file `name` (which may hold '/'; folders are made) and returns
    // its path.
    std::string write(const std::string& name, std::string_view bytes) const {
        const std::string file = at(name);
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            throw std::runtime_error("cannot write " + file);
        }
        return file;
    }
    std::string write(const std::string& name, std::span<const uint8_t> bytes) const {
        return write(name, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    }

private:
    // The fuzz targets write a file for every input: in memory that is some twenty times faster
    // than on a disk.
    static std::string make() {
        const char* set = std::getenv("TMPDIR");
        const bool shm = (set == nullptr || *set == '\0') && ::access("/dev/shm", W_OK) == 0;
        std::string pattern =
            ((shm ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()) /
             "tavo-XXXXXX")
                .string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a scratch directory");
        }
        return pattern;
    }

    std::string path_;
};

} // namespace tavo::testing
