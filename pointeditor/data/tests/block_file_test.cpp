#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <memory>

#include "pointeditor/data/block_file.h"
#include "pointeditor/data/tests/fake_texture_loader.h"
#include "pointeditor/data/tests/scratch_dir.h"
#include "tests/support/fake_platform.h"

namespace tavo {
namespace {

using Bytes = std::vector<uint8_t>;

// Every float of record b holds 1000 b + its offset in the record + 0.5 and every texture id
// 1000 b + its offset, so a field read from the wrong place shows at once.
float fieldValue(int b, int offset) {
    return 1000.0f * b + offset + 0.5f;
}

// Names at 31-byte steps, the count at 310, `records` records from 312; record b is in use
// unless it is `unused`.
Bytes blockFileBytes(const std::vector<std::string>& names, int16_t count, int records,
                     int unused = -1) {
    Bytes bytes(312 + 316 * records, 0);
    auto put32 = [&bytes](std::size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::memcpy(&bytes[31 * i], names[i].data(), names[i].size());
    }
    bytes[310] = static_cast<uint8_t>(count);
    bytes[311] = static_cast<uint8_t>(static_cast<uint16_t>(count) >> 8);
    for (int b = 0; b < records; ++b) {
        std::size_t base = 312 + 316 * b;
        for (int offset = 0; offset < 288; offset += 4) {
            put32(base + offset, std::bit_cast<uint32_t>(fieldValue(b, offset)));
        }
        for (int offset = 288; offset < 312; offset += 4) {
            put32(base + offset, static_cast<uint32_t>(1000 * b + offset));
        }
        put32(base + 312, b == unused ? 0 : 0xffffffffu);
    }
    return bytes;
}

class BlockFile : public ::testing::Test {
  protected:
    void SetUp() override {
        state->window = &platform;
        state->textureLoader = &loader;
    }

    // A first map: every block in use, two names, textures in slots 0 and 1.
    void loadFirstMap() {
        dir.write("first/a.bmp", {1});
        dir.write("first/b.bmp", {1});
        Bytes bytes = blockFileBytes({"a.bmp", "b.bmp"}, 160, 160);
        ASSERT_TRUE(loadBlockFile(*state, dir.write("first/map.bd1", bytes)));
        ASSERT_EQ(testing::texturePath(state->textures[1]), dir.file("first/b.bmp"));
        loader.requests.clear();
    }

    testing::ScratchDir dir;
    testing::FakePlatform platform;
    testing::FakeTextureLoader loader;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
};

TEST_F(BlockFile, HandBuiltFileLoadsEveryFieldFromItsOffset) {
    state->pointUsed[4] = 2;
    Bytes bytes = blockFileBytes({"grass.jpg", "", "wall\\brick.png"}, 3, 3, 1);
    ASSERT_TRUE(loadBlockFile(*state, dir.write("maps/city.bd1", bytes)));
    EXPECT_STREQ(state->textureNames[0], "grass.jpg");
    EXPECT_STREQ(state->textureNames[2], "wall\\brick.png");
    EXPECT_STREQ(state->blockDir, dir.file("maps").c_str());
    for (int b = 0; b < 3; ++b) {
        const BlockRecord& block = state->blocks[b];
        for (int c = 0; c < 8; ++c) {
            EXPECT_EQ(block.x[c], fieldValue(b, 0 + 4 * c));
            EXPECT_EQ(block.y[c], fieldValue(b, 32 + 4 * c));
            EXPECT_EQ(block.z[c], fieldValue(b, 64 + 4 * c));
        }
        for (int f = 0; f < 6; ++f) {
            for (int k = 0; k < 4; ++k) {
                EXPECT_EQ(block.u[f][k], fieldValue(b, 96 + 16 * f + 4 * k));
                EXPECT_EQ(block.v[f][k], fieldValue(b, 192 + 16 * f + 4 * k));
            }
            EXPECT_EQ(block.textureId[f], 1000 * b + 288 + 4 * f);
        }
        EXPECT_EQ(block.inUse, b == 1 ? 0 : -1); // a stored 0 keeps the block hidden
    }
    EXPECT_EQ(state->pointUsed[4], 2); // the points are not the map's business
    EXPECT_EQ(decodeBlockFile(blockFileBytes({}, 0x0102, 0)).declaredCount, 0x0102);
}

TEST_F(BlockFile, CountsAndShortFilesNeverReachPastTheRecordsOrTheTable) {
    Bytes cut = blockFileBytes({"n"}, 5, 5);
    cut.resize(cut.size() - 1);
    Bytes noCount = blockFileBytes({"n"}, 1, 1);
    noCount.resize(311);
    const std::tuple<const char*, Bytes, int> cases[] = {
        {"count 200", blockFileBytes({"n"}, 200, 200), 160},
        {"count 32767", blockFileBytes({"n"}, 32767, 161), 160},
        {"count -1", blockFileBytes({"n"}, -1, 3), 0},
        {"count -32768", blockFileBytes({"n"}, -32768, 3), 0},
        {"last record cut", cut, 4},
        {"count beyond the records", blockFileBytes({"n"}, 9, 2), 2},
        {"header cut", noCount, 0},
        {"empty", {}, 0},
    };
    for (const auto& [what, bytes, loaded] : cases) {
        SCOPED_TRACE(what);
        loadFirstMap();
        ASSERT_TRUE(loadBlockFile(*state, dir.write("case.bd1", bytes)));
        for (int b = 0; b < MaxBlocks; ++b) {
            ASSERT_EQ(state->blocks[b].inUse != 0, b < loaded) << b;
        }
        // A file without its whole header names no texture.
        EXPECT_STREQ(state->textureNames[0], bytes.size() < 312 ? "" : "n");
    }
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(BlockFile, AFileThatCannotBeReadEmptiesOnlyTheBlocks) {
    std::filesystem::create_directory(dir.file("folder.bd1"));
    for (const std::string& path : {dir.file("missing.bd1"), dir.file("folder.bd1")}) {
        loadFirstMap();
        EXPECT_FALSE(loadBlockFile(*state, path));
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text, "file open error");
        EXPECT_EQ(platform.boxes[0].caption, "error");
        platform.boxes.clear();
        EXPECT_EQ(state->blocks[0].inUse, 0);
        EXPECT_STREQ(state->textureNames[1], "b.bmp");
        EXPECT_STREQ(state->blockDir, dir.file("first").c_str());
        EXPECT_EQ(testing::texturePath(state->textures[1]), dir.file("first/b.bmp"));
        EXPECT_TRUE(loader.requests.empty());
    }
}

TEST_F(BlockFile, ASecondMapReplacesOnlyTheTexturesThatLoad) {
    loadFirstMap();
    dir.write("second/A.bmp", {2});
    dir.write("second/broken.bmp", {0});
    Bytes bytes = blockFileBytes({"a.bmp", "missing.bmp", "broken.bmp"}, 1, 1);
    ASSERT_TRUE(loadBlockFile(*state, dir.write("second/map.bd1", bytes)));
    EXPECT_EQ(loader.requests,
              (std::vector<std::string>{dir.file("second/A.bmp"), dir.file("second/broken.bmp")}));
    EXPECT_EQ(testing::texturePath(state->textures[0]), dir.file("second/A.bmp"));
    EXPECT_EQ(testing::texturePath(state->textures[1]), dir.file("first/b.bmp"));
    EXPECT_EQ(state->textures[2], nullptr);

    state->textureLoader = nullptr; // before the device exists the map still loads
    ASSERT_TRUE(loadBlockFile(*state, dir.file("second/map.bd1")));
    EXPECT_NE(state->blocks[0].inUse, 0);
}

TEST_F(BlockFile, AMapNamedWithoutADirectoryFindsItsTexturesBesideIt) {
    dir.write("a.bmp", {1});
    dir.write("map.bd1", blockFileBytes({"A.BMP"}, 1, 1));
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    bool loaded = loadBlockFile(*state, "map.bd1");
    std::filesystem::current_path(previous);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loader.requests, std::vector<std::string>{"./a.bmp"});
}

TEST(PathDirectory, TakesEverythingBeforeTheLastSlashAndReportsWhatDoesNotFit) {
    const std::pair<std::string, std::string> cases[] = {
        {"/home/user/maps/city.bd1", "/home/user/maps"},
        {"maps/city.bd1", "maps"},
        {"city.bd1", ""},
        {"/city.bd1", ""}, // the root: texture paths then begin with '/'
        {"//x", "/"},
        {"C:\\maps\\city.bd1", ""}, // a backslash is part of a name here
        {"/地図/\x95\x5c.bd1", "/地図"},
    };
    char directory[BlockDirSize];
    for (const auto& [path, expected] : cases) {
        std::memset(directory, 'x', sizeof directory);
        EXPECT_TRUE(pathDirectory(path.c_str(), directory));
        EXPECT_EQ(std::string(directory), expected) << path;
    }
    std::string fits = "/" + std::string(258, 'd'); // 259 bytes and the NUL
    EXPECT_TRUE(pathDirectory((fits + "/m.bd1").c_str(), directory));
    EXPECT_EQ(std::string(directory), fits);
    EXPECT_FALSE(pathDirectory((fits + "d/m.bd1").c_str(), directory));
    EXPECT_EQ(std::string(directory), fits);
}

} // namespace
} // namespace tavo
