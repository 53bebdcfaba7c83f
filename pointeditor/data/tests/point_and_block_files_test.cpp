#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>

#include "pointeditor/data/block_file.h"
#include "pointeditor/data/platform.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_load.h"
#include "pointeditor/data/point_table.h"
#include "pointeditor/edit/document.h"
#include "tests/support/fake_platform.h"
#include "tests/support/scratch_directory.h"

namespace tavo {
namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

// A count and `records` records; record i is zero but for its id i.
Bytes pointFileBytes(int16_t count, std::size_t records) {
    Bytes bytes = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)};
    for (std::size_t i = 0; i < records; ++i) {
        bytes.insert(bytes.end(), 19, 0);
        bytes.push_back(static_cast<uint8_t>(i));
    }
    return bytes;
}

// Names at 31-byte steps, the count at 310, then `records` records of blocks in use.
Bytes blockFileBytes(const std::vector<std::string>& names, int16_t count, int records) {
    Bytes bytes(312 + 316 * records, 0xff);
    std::fill_n(bytes.begin(), 312, 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::memcpy(&bytes[31 * i], names[i].data(), names[i].size());
    }
    bytes[310] = static_cast<uint8_t>(count);
    bytes[311] = static_cast<uint8_t>(static_cast<uint16_t>(count) >> 8);
    return bytes;
}

// The editor state and a fresh directory for the files that the test reads and writes.
class DataFile : public ::testing::Test {
protected:
    void SetUp() override { state->platform = &platform; }

    // Slot s gets x = 1000 + s and id s; the last slot listed is selected.
    void useSlots(std::initializer_list<int> slots) {
        state->pointTable.pointUsed.fill(SlotFree);
        for (int slot : slots) {
            state->pointTable.points[slot].x = 1000.0f + static_cast<float>(slot);
            state->pointTable.points[slot].p4 = static_cast<int8_t>(slot);
            state->pointTable.pointUsed[slot] =
                slot == *(slots.end() - 1) ? SlotSelected : SlotUsed;
        }
    }

    void loadFullMap() {
        auto bytes = blockFileBytes({"full.bmp"}, 161, 161); // one more than the editor holds
        ASSERT_TRUE(loadBlockFile(*state, dir.write("full/map.bd1", bytes)));
    }

    // Texture name 0 set to exactly these bytes, NUL-padded, then resolved.
    std::optional<std::string> resolve(const std::string& name) {
        std::memset(state->textureNames[0], 0, TextureNameSize);
        std::memcpy(state->textureNames[0], name.data(), std::min<std::size_t>(name.size(), 31));
        return resolveTexturePath(*state, 0);
    }

    testing::ScratchDirectory dir;
    testing::FakePlatform platform;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
};

// The bytes of each field are pinned by the committed sample (samples/tests) and the fuzz
// replay's round trip; here the slots: used ones save packed and come back unselected from slot 0.
TEST_F(DataFile, PointFileSavesTheUsedSlotsPacked) {
    useSlots({0, 5, 7});
    ASSERT_TRUE(savePointFile(*state, dir.at("packed.pd1")));
    ASSERT_TRUE(loadPointFile(*state, dir.at("packed.pd1")));
    EXPECT_EQ(countUsedPoints(state->pointTable), 3);
    for (int slot = 0; int id : {0, 5, 7}) {
        const PointRecord& packed = state->pointTable.points[slot];
        EXPECT_EQ(std::tuple(state->pointTable.pointUsed[slot++], packed.p4, packed.x),
                  std::tuple(1, id, 1000.0f + id));
    }
}

// Tables compare bit for bit: -0.0 is not 0.0 and a NaN equals itself, as in the file. The used
// points alone leave out the selection and what free slots hold.
TEST(PointTables, CompareBitForBitAndTheUsedPointsLeaveOutSelectionAndFreeSlots) {
    PointTable a{};
    a.pointUsed[3] = SlotUsed;
    a.points[3].x = std::numeric_limits<float>::quiet_NaN();
    const std::tuple<const char*, void (*)(PointTable&), bool, bool> rows[] = {
        {"the same, NaN included", [](PointTable&) {}, true, true},
        {"-0.0", [](PointTable& t) { t.points[3].y = -0.0f; }, false, false},
        {"selected", [](PointTable& t) { t.pointUsed[3] = SlotSelected; }, false, true},
        {"a free slot's record", [](PointTable& t) { t.points[7].z = 1; }, false, true},
        {"one more point", [](PointTable& t) { t.pointUsed[199] = SlotUsed; }, false, false},
    };
    for (const auto& [name, change, same, sameUsed] : rows) {
        SCOPED_TRACE(name);
        PointTable b = a;
        change(b);
        EXPECT_EQ(std::pair(sameTable(a, b), sameUsedPoints(a, b)), std::pair(same, sameUsed));
    }
}

// A file that is not whole loads what it holds and then says, in one box, what was wrong. The
// findings' English wording and counts past the table are pointtool's test; which slots a load
// fills, the fuzz replay's; that a whole file shows no box, the point session's; several findings
// in one box, the link check's.
TEST_F(DataFile, PointFileAReadableFileLoadsItsCompleteRecordsAndWarnsWhenNotWhole) {
    Bytes cut = pointFileBytes(3, 3);
    cut.resize(cut.size() - 7);
    Bytes notANumber = pointFileBytes(1, 1);
    std::memcpy(&notANumber[2 + 12], "\x00\x00\xc0\x7f", 4); // r
    const std::tuple<const char*, Bytes, int, int, std::string> cases[] = {
        {"last record cut, Japanese", cut, 2, 0,
         "2 個のポイントを読み込みました\n警告: ファイル: 個数は 3 個 (62 バイト) "
         "ですが、ファイルは 55 バイトです。完全なレコード 2 個を読み込み"},
        {"heading not a number", notANumber, 1, 1,
         "LOADED 1 POINTS\nwarning: slot 0, id 0, kind 0: r is nan, not a finite number"},
    };
    for (const auto& [what, bytes, loaded, english, box] : cases) {
        SCOPED_TRACE(what);
        useSlots({0, 100, 199});
        state->english = english;
        platform.boxes.clear();
        // Through LOAD POINT's opening: the one box is the command's (the loader shows none),
        // and its text carries the count the loader gave.
        ASSERT_TRUE(openPointFile(*state, dir.write("case.pd1", bytes)));
        ASSERT_EQ(platform.boxes.size(), 1u);
        const testing::RecordedBox& shown = platform.boxes[0];
        EXPECT_EQ(
            std::tuple(countUsedPoints(state->pointTable), shown.text, shown.caption, shown.icon),
            std::tuple(loaded, box, english ? "LOAD POINT" : "ポイント読み込み", BoxIcon::Warning));
    }
}

// What the reader refuses (folders, FIFOs, devices) is the common reader's to test, a failed save
// the storage tests'; here what a failed read leaves. A block file without its whole header loads
// no block and names no texture; counts beyond the records or the table, and negative ones, are
// the fuzz replay's.
TEST_F(DataFile, AFailedLoadKeepsThePointsAndAFailedOrHeaderlessOneEmptiesTheMap) {
    useSlots({3, 9});
    loadFullMap();
    EXPECT_EQ(loadPointFile(*state, dir.at("missing")).ok(), false);
    EXPECT_EQ(std::tuple(state->pointTable.pointUsed[3], state->pointTable.pointUsed[9],
                         state->pointTable.points[9].x),
              std::tuple(SlotUsed, SlotSelected, 1009.0f));
    // The map is emptied, its names kept.
    EXPECT_EQ(loadBlockFile(*state, dir.at("missing")).ok(), false);
    EXPECT_EQ(std::tuple(state->blocks[0].inUse, std::string(state->textureNames[0]),
                         std::string(state->blockDir)),
              std::tuple(0, "full.bmp", dir.at("full")));
    for (const Bytes& bytes : {Bytes(311, 'n'), Bytes{}}) {
        loadFullMap();
        ASSERT_TRUE(loadBlockFile(*state, dir.write("case.bd1", bytes)));
        EXPECT_EQ(std::ranges::count(state->blocks, 0, &BlockRecord::inUse), MaxBlocks);
        EXPECT_STREQ(state->textureNames[0], "") << bytes.size();
    }
    EXPECT_EQ(platform.boxes.size(), 0u) << "the commands tell the author, not the loaders";
}

TEST_F(DataFile, BlockFileDirectoryAndTextureNamesFindTheirFiles) {
    // The root's directory is "": texture paths then begin with '/'.
    const std::pair<std::string, std::string> paths[] = {
        {"city.bd1", ""}, {"/city.bd1", ""}, {"/地図/\x95\x5c.bd1", "/地図"}};
    char directory[BlockDirSize];
    for (const auto& [path, expected] : paths) {
        std::memset(directory, 'x', sizeof directory);
        EXPECT_TRUE(pathDirectory(path.c_str(), directory));
        EXPECT_EQ(std::string(directory), expected) << path;
    }

    for (const char* name : {"Textures/Wall.BMP", "地面/表.bmp", "both.bmp", "BOTH.bmp",
                             "\x8a\xe2.BMP" /* 岩 in raw CP932 */, "shared/Stone.bmp"}) {
        dir.write(name, "\1");
    }
    // A folder deep enough that the texture's path is 300 bytes long.
    std::string deep =
        std::string(200, 'a') + "/" + std::string(300 - dir.path().size() - 208, 'b');
    dir.write(deep + "/w.bmp", "\1");
    dir.write(std::string(31, 'a'), "\1");
    std::strcpy(state->blockDir, dir.path().c_str());
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"TEXTURES\\WALL.BMP", "Textures/Wall.BMP"},
        {"\x92\x6e\x96\xca\\\x95\x5c.BMP", "地面/表.bmp"}, // 表 ends in the byte 0x5C
        {"both.bmp", "both.bmp"},                          // the exact name wins over another case
        {"Both.bmp", "BOTH.bmp"},                          // otherwise the first in byte order
        {"", std::nullopt},
        {"missing.bmp", std::nullopt},
        {"\x80wall.bmp", std::nullopt},       // not CP932
        {std::string(31, 'a'), std::nullopt}, // no NUL in 31 bytes: never read past them
        {"\x8a\xe2.bmp", "\x8a\xe2.BMP"},     // an archive unpacked without converting names
    };
    for (const auto& [name, found] : cases) {
        EXPECT_EQ(resolve(name), found ? std::optional(dir.at(*found)) : std::nullopt) << name;
    }
    EXPECT_EQ(resolveTexturePath(*state, TextureCount), std::nullopt);
    // Real maps share texture folders beside their own.
    dir.write("maps/city.bd1", "");
    std::strcpy(state->blockDir, dir.at("maps").c_str());
    EXPECT_EQ(resolve("..\\SHARED\\stone.bmp"), dir.at("maps/../shared/Stone.bmp"));
    std::strcpy(state->blockDir, dir.at(deep).c_str());
    EXPECT_EQ(resolve("W.bmp"), dir.at(deep + "/w.bmp"));
    EXPECT_EQ(dir.at(deep + "/w.bmp").size(), 300u);

    // A map named without a directory finds its textures beside it (it once looked in the root).
    dir.write("map.bd1", blockFileBytes({"textures\\wall.bmp"}, 1, 1));
    auto previous = fs::current_path();
    fs::current_path(dir.path());
    EXPECT_TRUE(loadBlockFile(*state, "map.bd1"));
    auto texture = resolveTexturePath(*state, 0);
    fs::current_path(previous);
    EXPECT_EQ(texture, "./Textures/Wall.BMP");
}

} // namespace
} // namespace tavo
