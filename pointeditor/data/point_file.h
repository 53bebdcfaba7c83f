#pragma once
// The point data file (.pd1): an int16 count, then count 20-byte point records, little-endian.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/files/file_error.h"
#include "pointeditor/data/editor_state.h"

namespace tavo {

// What a .pd1 holds, decoded without trusting it.
struct PointFileContents {
    bool hasCount = false;            // the file held both count bytes
    int16_t declaredCount = 0;        // the count as stored
    std::vector<PointRecord> records; // the complete records read, never more than MaxPoints
    std::size_t fileSize = 0;
};

// One 20-byte record, field by field: the file's layout, reused by the editor's recovery file.
void appendRecord(std::vector<uint8_t>& out, const PointRecord& point);
PointRecord readRecord(const uint8_t* p); // p has PointRecordSize bytes

std::vector<uint8_t> encodePointFile(std::span<const PointRecord> records);
PointFileContents decodePointFile(std::span<const uint8_t> bytes);

// Editor commands. Failures show "file open error" (caption "error") through state.platform when
// it is set, or for a save into a folder the user may not write, a text that names the folder,
// and give the reason. Saving writes the used slots packed, atomically; loading
// replaces the point table only when the file could be read, so a failed load keeps the points.
FileResult<void> savePointFile(EditorState& state, const std::string& path);
// A file that is not whole still loads what it holds; then one warning box lists what was
// wrong, and the same lines are the result (none for a whole file).
FileResult<std::vector<std::string>> loadPointFile(EditorState& state, const std::string& path);

} // namespace tavo
