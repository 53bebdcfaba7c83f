#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "pointeditor/data/block_file.h"
#include "pointeditor/data/tests/fake_texture_loader.h"
#include "pointeditor/data/tests/scratch_dir.h"

namespace tavo {
namespace {

class TexturePath : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* file : {"floor.jpg", "Textures/Wall.BMP", "地面/表.bmp", "both.bmp",
                                 "BOTH.bmp", "Deep/Er/Stone.PNG", "deep/x.png"}) {
            dir.write(file, {1});
        }
        std::filesystem::create_directories(dir.file("Textures/Folder.bmp"));
        setDirectory(dir.path());
    }

    void setDirectory(const std::string& directory) {
        ASSERT_LT(directory.size(), std::size_t{BlockDirSize});
        std::strcpy(state->blockDir, directory.c_str());
    }

    // Texture name `slot` set to exactly these bytes, padded with NULs.
    void setName(int slot, const std::string& bytes) {
        ASSERT_LE(bytes.size(), std::size_t{TextureNameSize});
        std::memset(state->textureNames[slot], 0, TextureNameSize);
        std::memcpy(state->textureNames[slot], bytes.data(), bytes.size());
    }

    std::optional<std::string> resolve(const std::string& name) {
        setName(0, name);
        return resolveTexturePath(*state, 0);
    }

    testing::ScratchDir dir;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
};

TEST_F(TexturePath, WindowsNamesFindTheirFileWhateverTheCase) {
    struct Case {
        std::string name; // CP932 bytes as stored in the map
        std::string file; // relative to the map's directory
    };
    const Case cases[] = {
        {"floor.jpg", "floor.jpg"},
        {"textures\\wall.bmp", "Textures/Wall.BMP"},
        {"TEXTURES\\WALL.BMP", "Textures/Wall.BMP"},
        {"Textures\\Wall.BMP", "Textures/Wall.BMP"},
        {"deep\\er\\stone.png", "Deep/Er/Stone.PNG"}, // "deep" exists but holds no "er"
        {"FLOOR.JPG", "floor.jpg"},
        // 表 is 0x95 0x5C: its second byte is no separator.
        {"\x92\x6e\x96\xca\\\x95\x5c.bmp", "地面/表.bmp"},
        {"\x92\x6e\x96\xca\\\x95\x5c.BMP", "地面/表.bmp"},
        {"both.bmp", "both.bmp"}, // the exact name wins over another case
        {"Both.bmp", "BOTH.bmp"}, // otherwise the first in byte order
        {"textures\\\\wall.bmp", "Textures/Wall.BMP"},
    };
    for (const auto& c : cases) {
        std::optional<std::string> found = resolve(c.name);
        ASSERT_TRUE(found.has_value()) << c.file;
        EXPECT_TRUE(std::filesystem::equivalent(*found, dir.file(c.file))) << *found;
        EXPECT_EQ(std::filesystem::path(*found).filename(),
                  std::filesystem::path(c.file).filename());
    }
}

TEST_F(TexturePath, NamesThatNameNoFileResolveToNothing) {
    const std::string cases[] = {
        "",
        "missing.bmp",
        "textures\\folder.bmp", // a directory is not an image
        "textures",
        "floor.jpg\\x",
        "\x80wall.bmp", // not CP932
        "\x82\xa0\x82", // ends inside a character
        "\x82\x60.bmp", // full-width Ａ does not fold to a
    };
    for (const auto& name : cases) {
        EXPECT_EQ(resolve(name), std::nullopt) << name;
    }
    dir.write("ａ.bmp", {1});
    EXPECT_NE(resolve("\x82\x81.bmp"), std::nullopt); // the same full-width letter is found
    EXPECT_EQ(resolve("\x82\x60.bmp"), std::nullopt);
}

TEST_F(TexturePath, ANameWithoutItsNulIsNeverRead) {
    std::string full(TextureNameSize, 'a');
    dir.write(full, {1});
    dir.write(full.substr(0, 30), {1});
    setName(0, full);
    // The following name's bytes would continue it; none of them may be read.
    setName(1, "bmp");
    EXPECT_EQ(resolveTexturePath(*state, 0), std::nullopt);
    setName(0, full.substr(0, 30));
    EXPECT_NE(resolveTexturePath(*state, 0), std::nullopt);
}

TEST_F(TexturePath, SlotsOutsideTheTenResolveToNothing) {
    setName(9, "floor.jpg");
    EXPECT_NE(resolveTexturePath(*state, 9), std::nullopt);
    EXPECT_EQ(resolveTexturePath(*state, 10), std::nullopt);
    EXPECT_EQ(resolveTexturePath(*state, -1), std::nullopt);
}

TEST_F(TexturePath, APathLongerThanTheGameAllowedResolvesToNothing) {
    // The map's directory and the name joined by one separator may take 255 bytes.
    std::string name = "x.bmp";
    std::size_t room = 255 - name.size() - 1 - dir.path().size() - 1;
    ASSERT_LT(room, 250u);
    std::string longest = dir.path() + "/" + std::string(room, 'd');
    dir.write(longest.substr(dir.path().size() + 1) + "/" + name, {1});
    dir.write(longest.substr(dir.path().size() + 1) + "e/" + name, {1});

    setDirectory(longest);
    EXPECT_NE(resolve(name), std::nullopt);
    setDirectory(longest + "e");
    EXPECT_EQ(resolve(name), std::nullopt);
}

TEST_F(TexturePath, AnEmptyDirectoryMeansTheRoot) {
    // Texture names hold 30 bytes, so the scratch directory must lie right under /tmp.
    std::string inside = dir.path().substr(5); // "tavo-data-XXXXXX"
    std::string name = "TMP\\" + inside + "\\FLOOR.JPG";
    if (dir.path().rfind("/tmp/", 0) != 0 || name.size() > 30) {
        GTEST_SKIP() << "needs the scratch directory right under /tmp";
    }
    setDirectory("");
    std::optional<std::string> found = resolve(name);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, dir.file("floor.jpg"));
    // A name that begins with a separator names the same place.
    dir.write("f.jpg", {1});
    found = resolve("\\tmp\\" + inside + "\\f.jpg");
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(std::filesystem::equivalent(*found, dir.file("f.jpg")));
}

TEST_F(TexturePath, TexturesAreAskedForInSlotOrderByTheirResolvedPaths) {
    testing::FakeTextureLoader loader;
    state->textureLoader = &loader;
    setName(0, "TEXTURES\\WALL.BMP");
    setName(2, "missing.bmp");
    setName(4, "\x92\x6e\x96\xca\\\x95\x5c.bmp");
    setName(9, "floor.jpg");
    loadTextures(*state);
    ASSERT_EQ(loader.requests.size(), 3u);
    EXPECT_EQ(std::filesystem::path(loader.requests[0]).filename(), "Wall.BMP");
    EXPECT_EQ(loader.requests[1], dir.file("地面/表.bmp"));
    EXPECT_EQ(loader.requests[2], dir.file("floor.jpg"));
    EXPECT_NE(state->textures[0], nullptr);
    EXPECT_EQ(state->textures[2], nullptr);
    EXPECT_NE(state->textures[4], nullptr);
    EXPECT_NE(state->textures[9], nullptr);
    state->textures = {}; // release while the loader's counter still exists
}

} // namespace
} // namespace tavo
