#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "pointeditor/data/block_file.h"
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
        std::strcpy(state->blockDir, dir.path().c_str());
    }

    // Texture name 0 set to exactly these bytes, NUL-padded, then resolved.
    std::optional<std::string> resolve(const std::string& name) {
        std::memset(state->textureNames[0], 0, TextureNameSize);
        std::memcpy(state->textureNames[0], name.data(), std::min<std::size_t>(name.size(), 31));
        return resolveTexturePath(*state, 0);
    }

    testing::ScratchDir dir;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
};

TEST_F(TexturePath, WindowsNamesFindTheirFileWhateverTheCase) {
    const std::pair<std::string, std::string> cases[] = {
        {"floor.jpg", "floor.jpg"},
        {"TEXTURES\\WALL.BMP", "Textures/Wall.BMP"},
        {"textures\\\\wall.bmp", "Textures/Wall.BMP"},
        {"deep\\er\\stone.png", "Deep/Er/Stone.PNG"},      // "deep" exists too but holds no "er"
        {"\x92\x6e\x96\xca\\\x95\x5c.BMP", "地面/表.bmp"}, // 表 ends in the byte 0x5C
        {"both.bmp", "both.bmp"},                          // the exact name wins over another case
        {"Both.bmp", "BOTH.bmp"},                          // otherwise the first in byte order
    };
    for (const auto& [name, file] : cases) {
        EXPECT_EQ(resolve(name), dir.file(file)) << name;
    }
}

TEST_F(TexturePath, NamesThatNameNoReadableFileResolveToNothing) {
    dir.write(std::string(31, 'a'), {1});
    dir.write("ａ.bmp", {1});
    const std::string cases[] = {
        "",
        "missing.bmp",
        "textures\\folder.bmp",
        "floor.jpg\\x",
        "\x80wall.bmp",       // not CP932
        "\x82\x60.bmp",       // full-width Ａ is no ASCII letter to fold
        std::string(31, 'a'), // no NUL in the 31 bytes: the name is never read past them
    };
    for (const auto& name : cases) {
        EXPECT_EQ(resolve(name), std::nullopt) << name;
    }
    EXPECT_EQ(resolve("\x82\x81.bmp"), dir.file("ａ.bmp"));
    EXPECT_EQ(resolveTexturePath(*state, -1), std::nullopt);
    EXPECT_EQ(resolveTexturePath(*state, TextureCount), std::nullopt);
}

TEST_F(TexturePath, DirectoryAndNameTogetherTakeAtMost255Bytes) {
    std::size_t room = 255 - dir.path().size() - 1 - std::strlen("/x.bmp");
    std::string longest = std::string(room, 'd');
    dir.write(longest + "/x.bmp", {1});
    dir.write(longest + "e/x.bmp", {1});
    std::strcpy(state->blockDir, dir.file(longest).c_str());
    EXPECT_NE(resolve("x.bmp"), std::nullopt);
    std::strcpy(state->blockDir, dir.file(longest + "e").c_str());
    EXPECT_EQ(resolve("x.bmp"), std::nullopt);
}

TEST_F(TexturePath, AnEmptyDirectoryIsTheRoot) {
    std::string name = "TMP\\" + dir.path().substr(5) + "\\FLOOR.JPG";
    if (dir.path().rfind("/tmp/", 0) != 0 || name.size() > 30) {
        GTEST_SKIP() << "a texture name holds 30 bytes: needs the scratch directory in /tmp";
    }
    state->blockDir[0] = '\0';
    EXPECT_EQ(resolve(name), dir.file("floor.jpg"));
}

} // namespace
} // namespace tavo
