#pragma once
// The boxes of the file commands: what a failed read or save, and a point file that was not
// whole, tell the author. The loaders only report; these show it, when there is a window.

#include <string>
#include <vector>

#include "common/files/file_error.h"
#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/point_check.h"

namespace tavo {

// The message of every failed point or block file operation but a save the folder refused, in
// English in both languages: "file open error", caption "error", OK only, no icon.
void showFileOpenError(const EditorState& state);

// A save's failure: when the folder refused it, a box that says so in the editor's language (with
// the file's name and the folder), else showFileOpenError's.
void showFileSaveError(const EditorState& state, const std::string& path, const FileError& error);

// One warning box after loading `loaded` points, when the file was not whole: what was loaded,
// then what was wrong.
void showPointFileWarning(const EditorState& state, int loaded,
                          const std::vector<Finding>& findings);

} // namespace tavo
