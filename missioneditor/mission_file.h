#pragma once
// Moving a mission file's bytes to and from the disk, through the readers and writers every
// program uses (common/files): a .mif is read only when it is a regular file no longer than
// DataFileLimit, and saved atomically, so a failure never leaves a half-written file and an
// existing file stays as it was.

#include <string>
#include <string_view>

#include "common/files/file_error.h"

namespace tavo::mission {

// Paths are the bytes the system names the file by (argv, QFile::encodeName of a dialog's
// answer), never text: a name that is not UTF-8 names its own file.

// The whole file, or why it cannot be read.
FileResult<std::string> readFileBytes(const std::string& path);

// WriteFailed when the bytes could not be written, synced or put in place; any other kind when
// the target was refused or no temporary file could be made beside it.
FileResult<void> saveFileBytes(const std::string& path, std::string_view bytes);

} // namespace tavo::mission
