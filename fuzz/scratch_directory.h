#pragma once
// A directory of its own under $TMPDIR (or /dev/shm, or /tmp) for the life of the object,
// removed with everything in it afterwards.

#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace tavo::fuzz {

class ScratchDirectory {
public:
    ScratchDirectory() {
        if (!directory_.isValid()) {
            throw std::runtime_error("cannot make a scratch directory");
        }
    }

    std::string path() const { return directory_.path().toStdString(); }

    // Writes `bytes` as the whole file `name` (which may hold '/'; folders are made) and returns
    // its path.
    std::string write(const std::string& name, std::span<const uint8_t> bytes) const {
        const std::filesystem::path file = std::filesystem::path(path()) / name;
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

private:
    // The targets write a file for every input: in memory that is some twenty times faster
    // than on a disk.
    static QString base() {
        const char* set = std::getenv("TMPDIR");
        const bool shm = (set == nullptr || *set == '\0') && ::access("/dev/shm", W_OK) == 0;
        return shm ? QString("/dev/shm") : QDir::tempPath();
    }

    QTemporaryDir directory_{base() + "/tavo-fuzz-XXXXXX"};
};

} // namespace tavo::fuzz
