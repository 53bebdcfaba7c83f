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

} // namespace tavo
