#pragma once
// Reading a whole data file before any of it is used, so that a file that cannot be read changes
// nothing in the editor. The bytes come through common/files/file_read.h, the reader of every
// program.

#include <cstddef>
#include <string>

#include "common/files/file_read.h"
#include "pointeditor/data/editor_state.h"

namespace tavo {

// How many whole records to read after a file's header: a count of zero or below reads none,
// one above the table's capacity reads a full table, and a file that ends early gives only the
// records it holds completely.
std::size_t recordsToRead(int declaredCount, int capacity, std::size_t bytesAfterHeader,
                          std::size_t recordSize);

// The message of every failed point or block file operation but a save the folder refused, in
// English in both languages:
// "file open error", caption "error", OK only, no icon. Shown only when there is a window.
void showFileOpenError(const EditorState& state);

// A save's failure: when the folder refused it, a box that says so in the editor's language (with
// the file's name and the folder), else showFileOpenError's.
void showFileSaveError(const EditorState& state, const std::string& path, const FileError& error);

} // namespace tavo
