#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_load.h"

#include <algorithm>
#include <filesystem>

#include "common/files/file_read.h"
#include "common/files/file_write.h"
#include "pointeditor/data/byte_order.h"
#include "pointeditor/data/point_check.h"
#include "pointeditor/data/record_count.h"

namespace tavo {
namespace {

constexpr std::size_t CountSize = PointCountSize;
// Nothing past the last slot's record is ever used, so nothing past it is read.
constexpr std::size_t MaxFileBytes = CountSize + std::size_t{MaxPoints} * PointRecordSize;

// The file's length for the findings, when more than its first bytes were read.
std::size_t fileSizeAtLeast(const std::string& path, std::size_t read) {
    if (read <= MaxFileBytes) {
        return read;
    }
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? read : std::max<std::size_t>(read, size);
}

} // namespace

void appendRecord(std::vector<uint8_t>& out, const PointRecord& point) {
    bytes::putF32(out, point.x);
    bytes::putF32(out, point.y);
    bytes::putF32(out, point.z);
    bytes::putF32(out, point.r);
    bytes::putI8(out, point.p1);
    bytes::putI8(out, point.p2);
    bytes::putI8(out, point.p3);
    bytes::putI8(out, point.p4);
}

PointRecord readRecord(const uint8_t* p) {
    PointRecord point;
    point.x = bytes::getF32(p);
    point.y = bytes::getF32(p + 4);
    point.z = bytes::getF32(p + 8);
    point.r = bytes::getF32(p + 12);
    point.p1 = bytes::getI8(p + 16);
    point.p2 = bytes::getI8(p + 17);
    point.p3 = bytes::getI8(p + 18);
    point.p4 = bytes::getI8(p + 19);
    return point;
}

std::vector<uint8_t> encodePointFile(std::span<const PointRecord> records) {
    // The game reads at most MaxPoints records; a longer list is cut rather than miscounted.
    std::size_t count = std::min(records.size(), std::size_t{MaxPoints});
    std::vector<uint8_t> out;
    out.reserve(CountSize + count * PointRecordSize);
    bytes::putI16(out, static_cast<int16_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        appendRecord(out, records[i]);
    }
    return out;
}

PointFileContents decodePointFile(std::span<const uint8_t> bytes) {
    PointFileContents contents;
    contents.fileSize = bytes.size();
    if (bytes.size() < CountSize) {
        return contents;
    }
    contents.hasCount = true;
    contents.declaredCount = bytes::getI16(bytes.data());

    std::size_t count =
        recordsToRead(contents.declaredCount, MaxPoints, bytes.size() - CountSize, PointRecordSize);
    contents.records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        contents.records.push_back(readRecord(bytes.data() + CountSize + i * PointRecordSize));
    }
    return contents;
}

FileResult<void> savePointFile(const EditorState& state, const std::string& path) {
    // Used slots, selected ones included, packed in slot order; the selection is not stored.
    std::vector<PointRecord> used;
    used.reserve(MaxPoints);
    for (int i = 0; i < MaxPoints; ++i) {
        if (state.pointTable.pointUsed[i] != SlotFree) {
            used.push_back(state.pointTable.points[i]);
        }
    }
    std::vector<uint8_t> bytes = encodePointFile(used);

    // Atomic: a failure at any step leaves an existing file as it was.
    return writeFileAtomically(path, bytes);
}

FileResult<PointFileLoad> loadPointFile(EditorState& state, const std::string& path) {
    // The whole file is read before the table is touched: a path that cannot be read keeps the
    // points that are in memory. One byte more than any whole file tells a longer one.
    const FileResult<FilePrefix> read = readFilePrefix(path, MaxFileBytes + 1);
    if (!read) {
        return read.error();
    }
    PointFileContents contents = decodePointFile(read->bytes);
    contents.fileSize = fileSizeAtLeast(path, contents.fileSize);

    state.pointTable.pointUsed.fill(SlotFree);
    for (std::size_t i = 0; i < contents.records.size(); ++i) {
        state.pointTable.points[i] = contents.records[i];
        state.pointTable.pointUsed[i] = SlotUsed;
    }
    return PointFileLoad{static_cast<int>(contents.records.size()), pointFileFindings(contents)};
}

} // namespace tavo
