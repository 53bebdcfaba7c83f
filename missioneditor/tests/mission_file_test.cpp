#include <gtest/gtest.h>

#include <string>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "missioneditor/mission_file.h"
#include "missioneditor/mission_info.h"

namespace tavo::mission {
namespace {

void writeRaw(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

TEST(MissionFileDisk, SavingReplacesTheFileWholeAndLeavesNothingBeside) {
    QTemporaryDir dir;
    const QString path = dir.filePath("m.mif");
    writeRaw(path, std::string(5000, 'z'));

    EXPECT_EQ(saveFileBytes(path, "new\r\n"), SaveOutcome::saved);
    EXPECT_EQ(readFileBytes(path), "new\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"m.mif"});

    // No extension is added to a name without one.
    EXPECT_EQ(saveFileBytes(dir.filePath("plain"), "x"), SaveOutcome::saved);
    EXPECT_TRUE(QFile::exists(dir.filePath("plain")));
}

TEST(MissionFileDisk, FailuresLeaveAnExistingFileAsItWas) {
    QTemporaryDir dir;
    const std::string old = "old mission\r\n";

    // The temporary file's longer name cannot be made beside this one, whoever runs the test.
    const QString longName = dir.filePath(QString(250, 'm'));
    writeRaw(longName, old);
    EXPECT_NE(saveFileBytes(longName, "new"), SaveOutcome::saved);
    EXPECT_EQ(readFileBytes(longName), old);

    const QString folder = dir.filePath("folder.mif");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mif"));
    EXPECT_NE(saveFileBytes(folder, "new"), SaveOutcome::saved);
    EXPECT_TRUE(QFileInfo(folder).isDir());

    EXPECT_EQ(saveFileBytes(dir.filePath("missing/m.mif"), "new"), SaveOutcome::cannotOpen);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QString(250, 'm')});
}

TEST(MissionFileDisk, MissingOrUnreadableFilesAreNotRead) {
    QTemporaryDir dir;
    EXPECT_EQ(readFileBytes(dir.filePath("none.mif")), std::nullopt);
    EXPECT_EQ(readFileBytes(dir.path()), std::nullopt);
    writeRaw(dir.filePath("empty.mif"), "");
    EXPECT_EQ(readFileBytes(dir.filePath("empty.mif")), "");
    EXPECT_EQ(readMissionInfo(""), MissionInfo{});
}

TEST(MissionFileDisk, SampleMissionLoadsAndSavesUnchanged) {
    const auto bytes = readFileBytes(QStringLiteral(TAVO_SAMPLES_DIR "/sample.mif"));
    ASSERT_TRUE(bytes);
    const MissionInfo info = readMissionInfo(*bytes);
    EXPECT_EQ(info.blockPath, ".\\data\\map\\sample\\sample.bd1");
    EXPECT_EQ(info.pointPath, ".\\data\\map\\sample\\sample.pd1");
    EXPECT_EQ(writeMissionInfo(info).bytes, *bytes);
}

} // namespace
} // namespace tavo::mission
