// The recovery copy on disk: where it goes, who may read it, which copies an editor looks at and
// which it may take; and the restore question's box as Qt shows it.

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QTimer>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "pointeditor/shell/device_session.h"
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
    const std::string made = scratch.at("a/b/tavo");
    ASSERT_TRUE(prepareRecoveryFolder(QString::fromStdString(made)));
    EXPECT_EQ(modeOf(made), 0700u) << "made";
    const std::string wide = scratch.at("wide");
    ::mkdir(wide.c_str(), 0700);
    ::chmod(wide.c_str(), 0755);
    ASSERT_TRUE(prepareRecoveryFolder(QString::fromStdString(wide)));
    EXPECT_EQ(modeOf(wide), 0700u) << "a folder of ours found wider";
    // A private folder is left as it is, its sticky bit too: no chmod, so no new change time.
    const std::string sticky = scratch.at("sticky");
    ::mkdir(sticky.c_str(), 0700);
    ::chmod(sticky.c_str(), 01700);
    struct stat before {};
    ::stat(sticky.c_str(), &before);
    ::usleep(20'000);
    ASSERT_TRUE(prepareRecoveryFolder(QString::fromStdString(sticky)));
    struct stat after {};
    ::stat(sticky.c_str(), &after);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec) << "changed";
    EXPECT_EQ(modeOf(sticky), 01700u);

    const std::string file = scratch.write("file", "");
    const std::string foreign = scratch.at("foreign");
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

TEST(RecoveryCandidates, TheSizesOfACopyRunFromNoPathsToTheLongestPaths) {
    RecoveredPoints longest;
    longest.pointFilePath = std::string(0xFFFF, 'p');
    longest.blockFilePath = std::string(0xFFFF, 'b');
    const std::vector<uint8_t> bytes = encodeRecovery(longest);
    EXPECT_EQ(bytes.size(), 8 + 2 * (2 + 0xFFFFu) + 200 * 21);
    EXPECT_EQ(bytes.size(), LargestRecoverySize);
    EXPECT_EQ(decodeRecovery(bytes).has_value(), true);
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
    const auto button = [](QMessageBox& box, const char* label) {
        for (QAbstractButton* b : box.buttons()) {
            if (b->text() == QString::fromUtf8(label)) {
                return b;
            }
        }
        return static_cast<QAbstractButton*>(nullptr);
    };
    using Way = std::function<void(QMessageBox&)>;
    const std::tuple<const char*, Way, DeferrableAnswer> ways[] = {
        {"Escape", [](QMessageBox& box) { testing::send(box, testing::keyPress(Qt::Key_Escape)); },
         DeferrableAnswer::Later},
        {"closed", [](QMessageBox& box) { box.close(); }, DeferrableAnswer::Later},
        {"Return", [](QMessageBox& box) { testing::send(box, testing::keyPress(Qt::Key_Return)); },
         DeferrableAnswer::Yes},
        {"破棄", [&](QMessageBox& box) { button(box, "破棄")->click(); },
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
