#pragma once
// The editor's points table from and to a point file. These show nothing: the commands
// (edit/document.h) tell the author what happened.

#include <string>
#include <vector>

#include "common/files/file_error.h"
#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/point_check.h"

namespace tavo {

// What loading put in the table (records in slots 0 .. loaded - 1) and what was wrong with the
// file: pointFileFindings, nothing for a whole file.
struct PointFileLoad {
    int loaded = 0;
    std::vector<Finding> findings;
};

// Saving writes the used slots packed, atomically. Loading replaces the point table only when
// the file could be read, so a failed load keeps the points; a file that is not whole still
// loads what it holds.
FileResult<void> savePointFile(const EditorState& state, const std::string& path);
FileResult<PointFileLoad> loadPointFile(EditorState& state, const std::string& path);

} // namespace tavo
