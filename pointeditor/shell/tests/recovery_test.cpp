// The recovery copy on disk: where it goes, who may read it, which copies an editor looks at and
// which it may take; and the restore question's box as Qt shows it.

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QTimer>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <map>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "pointeditor/shell/qt_platform.h"
#include "pointeditor/shell/recovery.h"
#include "qt_events.h"
#include "tests/support/scratch_directory.h"

namespace tavo {
namespace {

using testing::ScratchDirectory;

unsigned modeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0xFFFFu;
}

std::string pathOf(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

TEST(RecoveryFolder, TheStateFolderOrHomesAndNeverTheRoot) {
    const std::tuple<const char*, std::map<std::string, std::string>, std::optional<QString>>
        rows[] = {
            {"state folder", {{"XDG_STATE_HOME", "/s"}, {"HOME", "/h"}}, "/s/tavo"},
            {"relative state folder",
             {{"XDG_STATE_HOME", "s"}, {"HOME", "/h"}},
             "/h/.local/state/tavo"},
            {"empty state folder",
             {{"XDG_STATE_HOME", ""}, {"HOME", "/h"}},
             "/h/.local/state/tavo"},
            {"home alone", {{"HOME", "/h"}}, "/h/.local/state/tavo"},
            {"nothing", {}, std::nullopt},
            {"empty home", {{"HOME", ""}}, std::nullopt},
            {"relative home", {{"HOME", "h"}, {"XDG_STATE_HOME", "s"}}, std::nullopt},
        };
    for (const auto& [name, variables, expected] : rows) {
        EXPECT_EQ(recoveryFolder(testing::environmentOf(variables)), expected) << name;
    }
}

TEST(RecoveryFolder, IsMadePrivateOrTightenedAndAnythingElseIsRefusedWithItsReason) {
    const ScratchDirectory scratch;
    const std::string made = scratch.at("a/b/tavo"), wide = scratch.at("wide");
    const std::string sticky = scratch.at("sticky"), foreign = scratch.at("foreign");
    ::mkdir(wide.c_str(), 0700), ::chmod(wide.c_str(), 0755);
    ::mkdir(sticky.c_str(), 0700), ::chmod(sticky.c_str(), 01700);
    struct stat before {};
    ::stat(sticky.c_str(), &before);
    ::usleep(20'000);
    // folder, its mode after: a private folder is left as it is, its sticky bit too
    const std::pair<std::string, unsigned> folders[] = {
        {made, 0700}, {wide, 0700}, {sticky, 01700}};
    for (const auto& [folder, mode] : folders) {
        ASSERT_TRUE(prepareRecoveryFolder(QString::fromStdString(folder)));
        EXPECT_EQ(modeOf(folder), mode) << folder;
    }
    struct stat after {};
    ::stat(sticky.c_str(), &after);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec) << "a private folder chmodded";

    const std::string file = scratch.write("file", "");
    ::mkdir(foreign.c_str(), 0755);
    const bool chowned = ::chown(foreign.c_str(), ::geteuid() + 1, ::getegid()) == 0;
    // folder, the reason after the folder's name
    const std::tuple<std::string, std::string> refused[] = {
        {file, ": it is a regular file, not a folder"},
        {file + "/tavo", ": Not a directory"},
        {foreign, chowned ? ": it belongs to another user" : ""},
    };
    for (const auto& [folder, why] : refused) {
        if (why.empty()) {
            continue; // only root can give a folder away
        }
        const auto prepared = prepareRecoveryFolder(QString::fromStdString(folder));
        ASSERT_FALSE(prepared) << folder;
        EXPECT_EQ(prepared.error(), "cannot keep recovery copies in " + folder + why);
    }
    EXPECT_EQ(modeOf(foreign), 0755u) << "another user's folder was changed";
}

TEST(RecoveryFile, CopiesAndTheirLockFilesAreTheUsersAloneWhateverTheUmask) {
    const ScratchDirectory scratch;
    const QString folder = QString::fromStdString(scratch.at("tavo"));
    ASSERT_TRUE(prepareRecoveryFolder(folder));
    const mode_t mask = ::umask(0);
    EditorState state;
    RecoveryFile copy(folder);
    // Each step, then a change that is written.
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"first write", [] {}},
        {"over the copy", [] {}},
        {"after a save removed the copy",
         [&] {
             state.savedPoints = state.pointTable;
             copy.settle(state);
         }},
        {"after a normal end", [&] { copy.finish(); }},
    };
    int change = 0;
    for (const auto& [name, step] : steps) {
        SCOPED_TRACE(name);
        step();
        state.pointTable.pointUsed[++change] = SlotUsed;
        ASSERT_TRUE(copy.write(state));
        EXPECT_EQ(modeOf(pathOf(copy.path())), 0600u);
        EXPECT_EQ(modeOf(pathOf(recoveryLockPath(copy.path()))), 0600u);
    }
    ::umask(mask);
    EXPECT_EQ(modeOf(pathOf(folder)), 0700u);
    EXPECT_EQ(findOrphanRecovery(folder).has_value(), false) << "a copy without its lock";
    EXPECT_EQ(recoveryLockPath("/s/pointeditor-12-ab.recovery"), "/s/pointeditor-12-ab.lock");
}

// A file of `bytes`, or of `size` zero bytes, whose modification time is `age` seconds ago.
void writeAged(const ScratchDirectory& dir, const std::string& name, std::size_t size, int age,
               const std::vector<uint8_t>& bytes = {}) {
    const std::string path = dir.write(name, bytes.empty() ? std::vector<uint8_t>(size) : bytes);
    timeval now{};
    ::gettimeofday(&now, nullptr);
    const timeval times[2] = {{now.tv_sec - age, 0}, {now.tv_sec - age, 0}};
    ::utimes(path.c_str(), times);
}

TEST(RecoveryCopy, KeepsTableAndPathsAndTheReaderRefusesAnyOtherShape) {
    RecoveredPoints points;
    points.table.points[3] = {1.5f, -2, 3, 0.25f, 1, -2, 3, -4};
    points.table.pointUsed[3] = SlotSelected;
    points.table.points[7].x = 9; // a free slot's leftover record
    points.pointFilePath = "/m/mission.pd1";
    points.blockFilePath = "/m/map.bd1";
    const std::vector<uint8_t> bytes = encodeRecovery(points);
    // Copies that earlier editors left stay readable: the tag never changes.
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "TAVORCV1");
    auto back = decodeRecovery(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(
        std::tuple(sameTable(back->table, points.table), back->pointFilePath, back->blockFilePath),
        std::tuple(true, points.pointFilePath, points.blockFilePath));
    const std::pair<const char*, std::function<void(std::vector<uint8_t>&)>> spoiled[] = {
        {"empty", [](auto& b) { b.clear(); }},
        {"tag", [](auto& b) { b[0] ^= 1; }},
        {"one byte short", [](auto& b) { b.pop_back(); }},
        {"one byte more", [](auto& b) { b.push_back(0); }},
        {"path longer than the file", [](auto& b) { b[8] = 0xFF, b[9] = 0xFF; }},
        {"slot state 3", [&](auto& b) { b[bytes.size() - 200 * 21 + 3 * 21] = 3; }},
        {"ends after the tag", [](auto& b) { b.resize(8); }},
        {"ends inside a path's length", [](auto& b) { b.resize(9); }},
        {"a path past the end", [](auto& b) { b.resize(65530), b[8] = 0xFF, b[9] = 0xFF; }},
    };
    for (const auto& [name, spoil] : spoiled) {
        std::vector<uint8_t> copy = bytes;
        spoil(copy);
        EXPECT_EQ(decodeRecovery(copy).has_value(), false) << name;
    }
    // The sizes of a copy run from no paths to the longest paths.
    points.pointFilePath = std::string(0xFFFF, 'p');
    points.blockFilePath = std::string(0xFFFF, 'b');
    const std::vector<uint8_t> longest = encodeRecovery(points);
    EXPECT_EQ(longest.size(), 8 + 2 * (2 + 0xFFFFu) + 200 * 21);
    EXPECT_EQ(longest.size(), LargestRecoverySize);
    EXPECT_EQ(decodeRecovery(longest).has_value(), true) << "the longest paths";
    EXPECT_EQ(encodeRecovery({}).size(), SmallestRecoverySize);
}

TEST(RecoveryCandidates, OnlyTheNewestFewOfACopysSizeAreLookedAt) {
    const ScratchDirectory dir;
    writeAged(dir, "pointeditor-1.recovery", SmallestRecoverySize - 1, 1);
    writeAged(dir, "pointeditor-2.recovery", LargestRecoverySize + 1, 2);
    writeAged(dir, "pointeditor-3.recovery", SmallestRecoverySize, 30);
    writeAged(dir, "pointeditor-4.recovery", LargestRecoverySize, 4);
    writeAged(dir, "pointeditor-5.recover", SmallestRecoverySize, 5);
    writeAged(dir, "pointeditor-big.recovery", std::size_t{1} << 20, 0);
    writeAged(dir, "other-6.recovery", SmallestRecoverySize, 6);
    for (int i = 0; i < int(RecoveryCandidates); ++i) {
        writeAged(dir, "pointeditor-old" + std::to_string(i) + ".recovery", SmallestRecoverySize,
                  100 + i);
    }
    const std::vector<QString> found = recoveryCandidates(QString::fromStdString(dir.path()));
    ASSERT_EQ(found.size(), RecoveryCandidates);
    EXPECT_EQ(found[0].toStdString(), dir.at("pointeditor-4.recovery")) << "newest first";
    EXPECT_EQ(found[1].toStdString(), dir.at("pointeditor-3.recovery"));
    EXPECT_EQ(found.back().toStdString(),
              dir.at("pointeditor-old" + std::to_string(RecoveryCandidates - 3) + ".recovery"))
        << "more than the few";
}

TEST(FindOrphanRecovery, TakesTheNewestUnheldCopyThatReadsAndLeavesNoLockFilesBehind) {
    const ScratchDirectory dir;
    const QString folder = QString::fromStdString(dir.path());
    EditorState state;
    state.pointTable.pointUsed[4] = SlotUsed;
    const std::vector<uint8_t> bytes = encodeRecovery({state.pointTable, "/p.pd1", ""});
    writeAged(dir, "pointeditor-oldest.recovery", 0, 50, bytes);
    writeAged(dir, "pointeditor-good.recovery", 0, 0, bytes);
    {
        auto held = RecoveryLock::tryTake(recoveryLockPath(folder + "/pointeditor-good.recovery"));
        ASSERT_TRUE(held.has_value());
        auto found = findOrphanRecovery(folder);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->path.toStdString(), dir.at("pointeditor-oldest.recovery"))
            << "a held copy taken";
        EXPECT_EQ(findOrphanRecovery(folder).has_value(), false) << "offered twice at once";
    }
    // Copies newer than any good one, of a copy's size but no copy's bytes, as many as are
    // looked at: the good ones behind them are not reached.
    for (int i = 0; i < int(RecoveryCandidates); ++i) {
        writeAged(dir, "pointeditor-bad" + std::to_string(i) + ".recovery", bytes.size(), -10);
    }
    EXPECT_EQ(findOrphanRecovery(folder).has_value(), false);
    EXPECT_EQ(QFile::exists(folder + "/pointeditor-bad0.lock"), false) << "lock file left";
}

// The restore question's box as Qt shows it, and what each way of leaving it answers.
using RestoreBox = testing::QtTest;

TEST_F(RestoreBox, AnswersLaterToEscapeAndClosingAndDiscardOnlyToItsButton) {
    QtPlatform platform(nullptr);
    using Way = std::function<void(QMessageBox&)>;
    const auto key = [](int code) -> Way {
        return [code](QMessageBox& box) { testing::send(box, testing::keyPress(code)); };
    };
    const std::tuple<const char*, Way, DeferrableAnswer> ways[] = {
        {"Escape", key(Qt::Key_Escape), DeferrableAnswer::Later},
        {"closed", [](QMessageBox& box) { box.close(); }, DeferrableAnswer::Later},
        {"Return", key(Qt::Key_Return), DeferrableAnswer::Yes},
        {"破棄",
         [](QMessageBox& box) {
             for (QAbstractButton* button : box.buttons()) {
                 button->text() == QString::fromUtf8("破棄") ? button->click() : void();
             }
         },
         DeferrableAnswer::Discard},
    };
    for (const auto& [name, way, expected] : ways) {
        SCOPED_TRACE(name);
        QTimer::singleShot(0, [&way = way] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                way(*box);
            }
        });
        EXPECT_EQ(platform.askDeferrable("Restore?", "POINT EDITOR", {"復元", "破棄", "後で"}),
                  expected);
    }
}

} // namespace
} // namespace tavo
