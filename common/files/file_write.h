#pragma once
// The one way the programs write a file: .pd1 (SAVE POINT, pointtool build), .mif (the mission
// editor's SAVE), pointtool dump's text and pointeditor-render's image.
//
// The bytes go to a temporary file beside the target, are synced, and the temporary is renamed
// over the target, so a failure at any step leaves an existing file as it was and no temporary
// behind. Besides:
// - a target that exists and is no regular file (a FIFO, a device, a directory) is refused: a
//   save never replaces /dev/null with a regular file. Standard output is a program's own
//   option, never a path;
// - a target the user may not write is refused, for root too: root is refused a file that no one
//   may write (0444), and otherwise writes on behalf of the file's owner, so it may save over a
//   user's file and leaves it theirs;
// - the new file keeps the old one's mode without its set-id bits and, when root saves, its owner
//   and group; a new file gets 0666 less the umask;
// - a symbolic link is written through: the link stays, the file it names is replaced.

#include <cstdint>
#include <span>
#include <string>

#include "common/files/file_error.h"

namespace tavo {

FileResult<void> writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

// Whether both paths name one existing file (the same device and inode, links followed), so a
// command can refuse to write over what it reads.
bool isSameFile(const std::string& a, const std::string& b);

} // namespace tavo
