#pragma once
// Whole-file reads with a size limit, and atomic writes, with messages fit for the terminal.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tavo::pointtool {

struct FileBytes {
    bool ok = false;
    std::vector<uint8_t> bytes;
    std::string error; // "cannot read x.pd1: No such file or directory" when not ok
};

// Reads all of a file no larger than maxBytes; anything larger (or endless, like a device) is
// refused rather than read into memory.
FileBytes readFileBytes(const std::string& path, std::size_t maxBytes);

// Writes the bytes to a temporary file beside `path` and renames it over `path`, so a failed
// write leaves any old file as it was. Returns an empty string on success, else the reason.
std::string writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

} // namespace tavo::pointtool
