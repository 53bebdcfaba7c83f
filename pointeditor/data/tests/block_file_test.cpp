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

void putU32At(Bytes& bytes, std::size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// Every float of record b holds 1000 b + (its offset in the record) + 0.5, every texture id
// 1000 b + its offset, so a field read from the wrong place shows at once.
float fieldValue(int record, int offset) {
    return 1000.0f * record + offset + 0.5f;
}

// A block file built byte by byte: `names` at 31-byte steps, the count at 310, then `records`
// records from 312 on. Record b is in use unless listed in `unused`.
Bytes blockFileBytes(const std::vector<std::string>& names, int16_t count, int records,
                     std::initializer_list<int> unused = {}) {
    Bytes bytes(312 + 316 * static_cast<std::size_t>(records), 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::memcpy(bytes.data() + 31 * i, names[i].data(),
                    std::min<std::size_t>(31, names[i].size()));
    }
    bytes[310] = static_cast<uint8_t>(count);
    bytes[311] = static_cast<uint8_t>(static_cast<uint16_t>(count) >> 8);
    for (int b = 0; b < records; ++b) {
        std::size_t base = 312 + 316 * static_cast<std::size_t>(b);
        for (int offset = 0; offset < 288; offset += 4) {
            putU32At(bytes, base + offset, std::bit_cast<uint32_t>(fieldValue(b, offset)));
        }
        for (int offset = 288; offset < 312; offset += 4) {
            putU32At(bytes, base + offset, static_cast<uint32_t>(1000 * b + offset));
        }
        bool inUse = std::find(unused.begin(), unused.end(), b) == unused.end();
        putU32At(bytes, base + 312, inUse ? 0xffffffffu : 0u);
    }
    return bytes;
}

void expectRecord(const BlockRecord& block, int b) {
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
}

class BlockFile : public ::testing::Test {
  protected:
    void SetUp() override {
        state->window = &platform;
        state->textureLoader = &loader;
    }

    // What a first map leaves behind: 160 blocks in use, names, a directory and textures.
    void loadFirstMap() {
        dir.write("first/a.bmp", {1});
        dir.write("first/b.bmp", {1});
        ASSERT_TRUE(loadBlockFile(
            *state, dir.write("first/map.bd1", blockFileBytes({"a.bmp", "b.bmp"}, 160, 160))));
        ASSERT_NE(state->textures[0], nullptr);
        loader.requests.clear();
    }

    testing::ScratchDir dir;
    testing::FakePlatform platform;
    testing::FakeTextureLoader loader;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
};

TEST_F(BlockFile, HandBuiltFileDecodesEveryFieldFromItsOffset) {
    Bytes bytes = blockFileBytes({"grass.jpg", "", "wall\\brick.png"}, 2, 2, {1});
    BlockFileContents contents = decodeBlockFile(bytes);
    ASSERT_TRUE(contents.hasHeader);
    EXPECT_EQ(contents.declaredCount, 2);
    EXPECT_STREQ(contents.textureNames[0], "grass.jpg");
    EXPECT_STREQ(contents.textureNames[1], "");
    EXPECT_STREQ(contents.textureNames[2], "wall\\brick.png");
    ASSERT_EQ(contents.blocks.size(), 2u);
    expectRecord(contents.blocks[0], 0);
    expectRecord(contents.blocks[1], 1);
    EXPECT_EQ(contents.blocks[0].inUse, -1);
    EXPECT_EQ(contents.blocks[1].inUse, 0);

    // Big-endian or misaligned reading of the count would give neither of these.
    bytes = blockFileBytes({}, 0x0102, 0);
    EXPECT_EQ(decodeBlockFile(bytes).declaredCount, 0x0102);
    bytes = blockFileBytes({}, -2, 0);
    EXPECT_EQ(decodeBlockFile(bytes).declaredCount, -2);
}

TEST_F(BlockFile, LoadingFillsTheMapInFileOrderAndKeepsUnusedRecordsHidden) {
    state->points[4].x = 7.0f;
    state->pointUsed[4] = 2;
    state->zoom = 3.0f;
    ASSERT_TRUE(
        loadBlockFile(*state, dir.write("maps/city.bd1", blockFileBytes({"x"}, 3, 3, {1}))));
    EXPECT_NE(state->blocks[0].inUse, 0);
    EXPECT_EQ(state->blocks[1].inUse, 0);
    EXPECT_NE(state->blocks[2].inUse, 0);
    for (int b = 0; b < 3; ++b) {
        expectRecord(state->blocks[b], b);
    }
    EXPECT_EQ(state->blocks[3].inUse, 0);
    EXPECT_STREQ(state->textureNames[0], "x");
    EXPECT_EQ(std::string(state->blockDir), dir.file("maps"));
    // Points and views are none of the map's business.
    EXPECT_EQ(state->pointUsed[4], 2);
    EXPECT_EQ(state->points[4].x, 7.0f);
    EXPECT_EQ(state->zoom, 3.0f);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(BlockFile, CountsAndShortFilesNeverReachPastTheRecordsOrTheTable) {
    struct Case {
        const char* what;
        Bytes bytes;
        int loaded;
    };
    Bytes cut = blockFileBytes({"n"}, 5, 5);
    cut.resize(cut.size() - 1);
    const Case cases[] = {
        {"count 200", blockFileBytes({"n"}, 200, 200), 160},
        {"count 32767", blockFileBytes({"n"}, 32767, 161), 160},
        {"count -1", blockFileBytes({"n"}, -1, 3), 0},
        {"count -32768", blockFileBytes({"n"}, -32768, 3), 0},
        {"count zero", blockFileBytes({"n"}, 0, 3), 0},
        {"last record one byte short", cut, 4},
        {"count beyond the records", blockFileBytes({"n"}, 9, 2), 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        loadFirstMap();
        ASSERT_TRUE(loadBlockFile(*state, dir.write("case.bd1", c.bytes)));
        for (int b = 0; b < MaxBlocks; ++b) {
            ASSERT_EQ(state->blocks[b].inUse != 0, b < c.loaded) << b;
        }
        EXPECT_STREQ(state->textureNames[0], "n");
    }
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(BlockFile, AFileWithoutItsWholeHeaderNamesNoTextureAndHoldsNoBlock) {
    for (std::size_t size : {0, 1, 200, 311}) {
        SCOPED_TRACE(size);
        loadFirstMap();
        Bytes bytes = blockFileBytes({"a.bmp", "b.bmp"}, 1, 1);
        bytes.resize(size);
        ASSERT_TRUE(loadBlockFile(*state, dir.write("short/map.bd1", bytes)));
        EXPECT_EQ(state->blocks[0].inUse, 0);
        EXPECT_STREQ(state->textureNames[0], "");
        EXPECT_STREQ(state->textureNames[1], "");
        EXPECT_EQ(std::string(state->blockDir), dir.file("short"));
        EXPECT_NE(state->textures[0], nullptr); // no new image replaced the old one
        EXPECT_TRUE(loader.requests.empty());
    }
}

TEST_F(BlockFile, AFileThatCannotBeReadEmptiesOnlyTheBlocks) {
    std::filesystem::create_directory(dir.file("folder.bd1"));
    for (const std::string& path : {dir.file("missing.bd1"), dir.file("folder.bd1")}) {
        SCOPED_TRACE(path);
        loadFirstMap();
        platform.boxes.clear();
        Texture* before = state->textures[0].get();
        EXPECT_FALSE(loadBlockFile(*state, path));
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text, "file open error");
        EXPECT_EQ(platform.boxes[0].caption, "error");
        EXPECT_EQ(platform.boxes[0].buttons, BoxButtons::Ok);
        EXPECT_EQ(platform.boxes[0].icon, BoxIcon::None);
        for (const auto& block : state->blocks) {
            ASSERT_EQ(block.inUse, 0);
        }
        EXPECT_STREQ(state->textureNames[1], "b.bmp");
        EXPECT_EQ(std::string(state->blockDir), dir.file("first"));
        EXPECT_EQ(state->textures[0].get(), before);
        EXPECT_TRUE(loader.requests.empty());
    }
}

TEST_F(BlockFile, ASecondMapReplacesTexturesThatLoadAndKeepsTheOthers) {
    loadFirstMap();
    Texture* firstB = state->textures[1].get();
    dir.write("second/a.bmp", {2});
    dir.write("second/broken.bmp", {0}); // the fake loader refuses files holding a 0
    ASSERT_TRUE(loadBlockFile(
        *state, dir.write("second/map.bd1",
                          blockFileBytes({"a.bmp", "missing.bmp", "", "broken.bmp"}, 1, 1))));
    EXPECT_EQ(loader.requests,
              (std::vector<std::string>{dir.file("second/a.bmp"), dir.file("second/broken.bmp")}));
    ASSERT_NE(state->textures[0], nullptr);
    EXPECT_EQ(testing::FakeTextureLoader::pathOf(*state->textures[0]), dir.file("second/a.bmp"));
    EXPECT_EQ(state->textures[1].get(), firstB); // its new image is missing
    EXPECT_EQ(state->textures[2], nullptr);
    EXPECT_EQ(state->textures[3], nullptr);
    EXPECT_EQ(loader.released, 1); // only the old slot 0 texture
}

TEST_F(BlockFile, LoadingWithoutATextureLoaderStillLoadsTheMap) {
    state->textureLoader = nullptr;
    dir.write("a.bmp", {1});
    ASSERT_TRUE(loadBlockFile(*state, dir.write("map.bd1", blockFileBytes({"a.bmp"}, 1, 1))));
    EXPECT_NE(state->blocks[0].inUse, 0);
    EXPECT_EQ(state->textures[0], nullptr);
    EXPECT_TRUE(loader.requests.empty());
}

TEST_F(BlockFile, AMapNamedWithoutADirectoryFindsItsTexturesBesideIt) {
    dir.write("a.bmp", {1});
    dir.write("map.bd1", blockFileBytes({"A.BMP"}, 1, 1));
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    bool loaded = loadBlockFile(*state, "map.bd1");
    std::filesystem::current_path(previous);
    ASSERT_TRUE(loaded);
    EXPECT_STREQ(state->blockDir, ".");
    EXPECT_EQ(loader.requests, std::vector<std::string>{"./a.bmp"});
}

TEST(PathDirectory, TakesEverythingBeforeTheLastSlash) {
    struct Case {
        std::string path;
        std::string directory;
    };
    const Case cases[] = {
        {"/home/user/maps/city.bd1", "/home/user/maps"},
        {"maps/sub/city.bd1", "maps/sub"},
        {"city.bd1", ""},
        {"/city.bd1", ""}, // the root: texture paths begin with '/'
        {"/a/b/", "/a/b"},
        {"//x", "/"},
        {"C:\\maps\\city.bd1", ""}, // a backslash is part of a name here
        {"/地図/\x95\x5c.bd1", "/地図"},
        {"", ""},
    };
    for (const auto& c : cases) {
        char directory[BlockDirSize];
        std::memset(directory, 'x', sizeof directory);
        EXPECT_TRUE(pathDirectory(c.path.c_str(), directory));
        EXPECT_EQ(std::string(directory), c.directory) << c.path;
    }
}

TEST(PathDirectory, ADirectoryTooLongIsCutToFitAndReported) {
    char directory[BlockDirSize];
    std::string fits = "/" + std::string(258, 'd'); // 259 bytes and the NUL
    EXPECT_TRUE(pathDirectory((fits + "/m.bd1").c_str(), directory));
    EXPECT_EQ(std::string(directory), fits);

    std::string tooLong = "/" + std::string(400, 'd');
    EXPECT_FALSE(pathDirectory((tooLong + "/m.bd1").c_str(), directory));
    EXPECT_EQ(std::string(directory), tooLong.substr(0, BlockDirSize - 1));
}

} // namespace
} // namespace tavo
