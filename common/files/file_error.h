#pragma once
// Why a file could not be read or written, in a form each program turns into its own message:
// the point editor's box, the mission editor's box, pointtool's and pointeditor-render's stderr.

#include <string>

#include "common/result.h"

namespace tavo {

enum class FileErrorKind {
    CannotOpen,        // missing, no permission, no temporary file could be made beside a target
    NotRegular,        // a directory, FIFO, device or socket where a file was expected
    TooLarge,          // longer than the limit for its kind
    ReadFailed,        // a read failed part way
    NotWritable,       // the target exists and its mode does not let this user write it
    FolderNotWritable, // the folder that would hold the new file does not let this user write
    SameAsInput,       // the output names the file the command reads
    WriteFailed,       // writing, syncing, closing or the final rename failed
};

struct FileError {
    FileErrorKind kind;
    std::string text;     // "cannot read a.pd1: it is a FIFO", the path printable on a terminal
    std::string folder{}; // FolderNotWritable: that folder, absolute, for an editor's own text
};

template <class T> using FileResult = Result<T, FileError>;

} // namespace tavo
