#pragma once
// The one way the programs read a file from outside: points, maps, textures, .mif files and
// pointtool's text form. Only regular files are read (a FIFO, device, directory or socket is
// refused before anything waits on it), and never more than a limit for the kind of file, so no
// input can hang a program or make it allocate more than that limit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/files/file_error.h"

namespace tavo {

// Far above any real file of the kind, far below the machine. A full point file is 4002 bytes,
// a full map a few tens of kilobytes.
inline constexpr std::size_t DataFileLimit = std::size_t{1} << 20;   // .pd1, .bd1, .mif, text
inline constexpr std::size_t ImageFileLimit = std::size_t{64} << 20; // a texture's file

struct FilePrefix {
    std::vector<uint8_t> bytes;
    bool cut = false; // the file goes on past the limit; bytes holds its first `limit` bytes
};

// The first `limit` bytes of the file, or all of it when shorter: for readers that use nothing
// past a known size.
FileResult<FilePrefix> readFilePrefix(const std::string& path, std::size_t limit);

// All of the file; a file longer than `limit` is refused (TooLarge) after reading only `limit`
// bytes and one more.
FileResult<std::vector<uint8_t>> readWholeFile(const std::string& path, std::size_t limit);

// What a file type is called in a message: "a directory", "a FIFO", ... ("a regular file").
const char* fileTypeName(unsigned mode);

} // namespace tavo
