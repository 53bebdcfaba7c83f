// The point file through loadPointFile, as the editor's LOAD POINT reads it.

#include <algorithm>
#include <memory>
#include <vector>

#include "fuzz/check.h"
#include "fuzz/reader_checks.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_load.h"
#include "tests/support/scratch_directory.h"

namespace tavo::fuzz {

void checkPointFile(std::span<const uint8_t> bytes) {
    static const testing::ScratchDirectory directory;
    const std::string path = directory.write("points.pd1", bytes);

    // Every slot starts used, selected and marked, so that a slot the load forgot shows.
    auto state = std::make_unique<EditorState>();
    for (int i = 0; i < MaxPoints; ++i) {
        state->pointTable.points[i].x = -7777.0f;
        state->pointTable.points[i].p4 = static_cast<int8_t>(i);
        state->pointTable.pointUsed[i] = SlotSelected;
    }
    FUZZ_REQUIRE(loadPointFile(*state, path));

    // The points in use are slots 0 .. n - 1, unselected, with n the count the file gives within
    // the records it holds and the table.
    const int used = countUsedPoints(state->pointTable);
    const std::size_t n = recordsLoaded(bytes, 2, PointRecordSize, MaxPoints);
    FUZZ_REQUIRE(used == static_cast<int>(n));
    for (std::size_t i = 0; i < MaxPoints; ++i) {
        FUZZ_REQUIRE(state->pointTable.pointUsed[i] == (i < n ? SlotUsed : SlotFree));
    }

    // Saving what was loaded gives back the file's records bit for bit, NaN payloads and all.
    const std::vector<uint8_t> saved =
        encodePointFile(std::span<const PointRecord>(state->pointTable.points.data(), n));
    FUZZ_REQUIRE(saved.size() == 2 + 20 * n);
    FUZZ_REQUIRE(saved[0] == (n & 0xFF) && saved[1] == (n >> 8));
    FUZZ_REQUIRE(std::equal(saved.begin() + 2, saved.end(), bytes.begin() + 2));

    // The bytes alone decode to the same records, bit for bit.
    const PointFileContents contents = decodePointFile(bytes);
    FUZZ_REQUIRE(contents.records.size() == n);
    FUZZ_REQUIRE(contents.hasCount == (bytes.size() >= 2));
    FUZZ_REQUIRE(contents.fileSize == bytes.size());
    FUZZ_REQUIRE(encodePointFile(contents.records) == saved);
}

} // namespace tavo::fuzz
