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
// - a folder the user may not write is named as the cause (FolderNotWritable): the temporary
//   file cannot be made there, even when the file itself is writable. Root is not asked;
// - the new file keeps the old one's mode without its set-id bits and, when root saves, its owner
//   and group; a new file gets 0666 less the umask;
// - the new file keeps the old one's extended attributes and POSIX ACL, as far as the user may
//   set them (copyExtendedAttributes), and never gets more permission than the old one had;
// - a symbolic link is written through: the link stays, the file it names is replaced;
// - a file with other hard links is rewritten in place, so that every name shows the new bytes
//   (a rename would leave the other names with the old file). The new bytes are first synced to
//   the temporary; should the rewrite fail, the old bytes, read beforehand, are put back and the
//   temporary removed; should even that fail, the temporary is kept and the message names it.
//   A linked file longer than `keepLimit` is refused, since its old bytes could not be kept.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/files/file_error.h"
#include "common/files/file_read.h"

namespace tavo {

FileResult<void> writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                                     std::size_t keepLimit = DataFileLimit);

// "cannot save NAME: the folder FOLDER is not writable", or the same in Japanese: the writer's
// text for FolderNotWritable, and the editors' box for it with the file's name.
std::string folderNotWritableText(std::string_view name, std::string_view folder, bool japanese);

// Whether both paths name one existing file (the same device and inode, links followed), so a
// command can refuse to write over what it reads.
bool isSameFile(const std::string& a, const std::string& b);

} // namespace tavo
