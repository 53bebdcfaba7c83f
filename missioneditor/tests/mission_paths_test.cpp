#include <gtest/gtest.h>

#include <filesystem>

#include "missioneditor/mission_paths.h"
#include "tests/support/scratch_directory.h"

namespace tavo::mission {
namespace {

TEST(MissionPaths, APathTypedOnWindowsIsOneBelowTheGamesFolder) {
    const struct {
        const char* name;
        const char* typed;
        std::optional<std::string> relative;
    } rows[] = {
        {"backslashes", ".\\data\\map\\m.bd1", "data/map/m.bd1"},
        {"yen signs",
         ".\xC2\xA5"
         "data\xC2\xA5m.bd1",
         "data/m.bd1"},
        {"slashes", "data/m.bd1", "data/m.bd1"},
        {"doubled and dotted", "data\\\\.\\m.bd1", "data/m.bd1"},
        {"up and out", "..\\m.bd1", "../m.bd1"},
        {"a folder", ".\\", ""},
        {"a name alone", "m", "m"},
        {"a drive", "C:\\m.bd1", std::nullopt},
        {"a drive alone", "c:", std::nullopt},
        {"the drive's root", "\\m.bd1", std::nullopt},
        {"the root in a yen sign", "\xC2\xA5m.bd1", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(relativeGamePath(row.typed), row.relative) << row.name;
    }
}

TEST(MissionPaths, TheRootIsTheNearestFolderUpwardsThatHoldsTheMap) {
    const testing::ScratchDirectory dir;
    dir.write("game/data/M.bd1", std::string("map"));
    dir.write("game/data/m.pd1", std::string("points"));
    dir.write("game/missions/deep/x", std::string());
    const std::string game = dir.at("game");
    EXPECT_EQ(findGameRoot(dir.at("game/missions/deep"), ".\\data\\m.bd1"), game);
    EXPECT_EQ(findGameRoot(game, ".\\data\\m.bd1"), game) << "the start itself first";
    EXPECT_EQ(findGameRoot(dir.at("game/data"), "m.bd1"), dir.at("game/data"));
    EXPECT_EQ(findGameRoot(game, "C:\\data\\m.bd1"), std::nullopt);
    EXPECT_EQ(startFolder(""), std::filesystem::current_path().string()) << "never saved";
    EXPECT_EQ(startFolder("m.mif"), std::filesystem::current_path().string()) << "a bare name";

    MissionInfo info;
    info.blockPath = ".\\data\\m.bd1";
    info.pointPath = ".\\DATA\\M.PD1";
    const auto files = resolveMissionFiles(info, dir.at("game/missions"), std::nullopt);
    ASSERT_TRUE(files.ok());
    EXPECT_EQ(files->root, game);
    EXPECT_EQ(files->mapPath, dir.at("game/data/M.bd1"));
    EXPECT_EQ(files->pointPath, dir.at("game/data/m.pd1"));
    const auto given = resolveMissionFiles(info, "/", dir.at("game/missions"));
    ASSERT_FALSE(given.ok());
    EXPECT_EQ(describeUnresolved(given.error(), true),
              "pathname of block: .\\data\\m.bd1 leads to no file under " +
                  dir.at("game/missions"));
}

} // namespace
} // namespace tavo::mission
