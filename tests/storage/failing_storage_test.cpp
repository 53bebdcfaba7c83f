// Saving through the mission editor onto storage that fails: a full disk, a directory the user
// may not write, a read-only file, a failing sync; and the mode and owner a save that works
// keeps. Each save must show the dialog's own message, leave a file that was there as it was, and
// leave no temporary file behind. The point editor saves through the same writer and shows one
// message for every failure, which its data tests pin. Links, FIFOs, devices and set-id bits are
// the file writer's alone: the file_access fuzz check replays those as a unit test. Every case
// runs in a child process, so that a file-size limit or a dropped privilege never reaches the
// runner. A full disk is a file-size limit: unlike a full file system it also makes a write stop
// part way.

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/as_nobody.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/guarded_run.h"
#include "tests/support/scratch_directory.h"

#include <QApplication>

#include "missioneditor/mission_dialog.h"

namespace tavo::testing {
namespace {

namespace fs = std::filesystem;

const std::string Old = "the file as it was before the save\n";

// A mission name and a briefing in two lines; every other field empty.
const std::string Briefing = "A mission saved onto failing storage,\nin two lines.";
const mission::MissionInfo SomeMission{"m07", "", "", "", 0, 0, false, "", "", false, "", Briefing};

// Saves the mission to `path`; one "text | caption" line per box shown.
std::string saveMission(const std::string& path) {
    int argc = 1;
    char name[] = "storage_tests", *argv[] = {name, nullptr};
    QApplication application(argc, argv); // the child's own
    FakeDesktop services;
    services.dialogAnswers = {path};
    mission::MissionDialog dialog(services, false);
    dialog.showMissionInfo(SomeMission);
    dialog.save();
    std::string lines;
    for (const RecordedBox& box : services.boxes) {
        lines += box.text + " | " + box.caption + "\n";
    }
    return lines;
}

// Working storage is the control: the same unprivileged child succeeds there. OtherOwner gives
// the file to nobody; with FailingSync, fsync() fails.
enum class Storage { Working, SizeLimit, LockedDirectory, ReadOnlyFile, OtherOwner, FailingSync };

struct Row {
    const char* name;
    Storage storage;
    mode_t mode;       // the old file's, kept by every save
    bool asRoot;       // else as nobody
    const char* error; // the box shown, {box} for the folder; nullptr: the save works
    const char* after; // the file's mode and owner afterwards, as describe() gives them
};

const char* const OpenError = "file open error | ERROR\n";
const char* const WriteError = "file open error (writing) | ERROR\n";

const Row Rows[] = {
    {"WorkingStorage", Storage::Working, 0666, false, nullptr, "666 uid 65534"},
    {"FullDisk", Storage::SizeLimit, 0666, true, WriteError, "666 uid 0"},
    {"LockedDirectory", Storage::LockedDirectory, 0666, false,
     "cannot save mission.mif: the folder {box} is not writable | ERROR\n", "666 uid 0"},
    {"ReadOnlyFile", Storage::ReadOnlyFile, 0444, false, OpenError, "444 uid 0"},
    {"OtherUsersFileAsRoot", Storage::OtherOwner, 0640, true, nullptr, "640 uid 65534"},
    {"FailingSync", Storage::FailingSync, 0666, true, WriteError, "666 uid 0"},
};

// fsync() fails with EIO while this is set: the storage tests link with --wrap=fsync.
bool syncFails = false;

// The file's mode in octal and its owner, then its bytes.
std::string describe(const std::string& path) {
    struct stat info {};
    std::ostringstream text;
    if (::stat(path.c_str(), &info) == 0) {
        text << std::oct << (info.st_mode & 07777) << " uid " << std::dec << info.st_uid << "\n";
    }
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// In the child: make `box` fail as the row asks, save over the old file there, and report the
// boxes, the file's mode, owner and bytes, and the names left in `box`.
std::string saveInChild(const Row& row, const std::string& box) {
    auto refuse = [](const char* why) {
        return "setup\n" + std::string(why) + ": " + std::strerror(errno);
    };
    const bool root = ::geteuid() == 0;
    if (row.asRoot && !root) {
        errno = EPERM;
        return refuse("not run as root");
    }
    const std::string file = box + "/mission.mif";
    std::ofstream(file, std::ios::binary) << Old;
    if (::chmod(file.c_str(), row.mode) != 0) {
        return refuse("cannot set the mode");
    }
    if (row.storage == Storage::OtherOwner && ::chown(file.c_str(), 65534, 65534) != 0) {
        return refuse("cannot give the file to nobody");
    }
    if (row.storage == Storage::LockedDirectory) {
        fs::permissions(box, fs::perms(0555));
    }
    // Writes past the limit fail with EFBIG like those on a full disk, for root too. The hard
    // limit stays, so that the report can be written afterwards.
    const rlimit limit{8, RLIM_INFINITY}, unlimited{RLIM_INFINITY, RLIM_INFINITY};
    if (row.storage == Storage::SizeLimit &&
        (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limit) != 0)) {
        return refuse("cannot limit the file size");
    }
    if (!row.asRoot && root && !becomeNobody()) { // root writes through permission bits
        return refuse("cannot drop root to nobody");
    }
    syncFails = row.storage == Storage::FailingSync;
    std::string report = saveMission(file);
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    report += describe(file) + "\nnames:";
    for (const auto& entry : fs::directory_iterator(box)) {
        report += " " + entry.path().filename().string();
    }
    return report;
}

class FailingStorage : public ::testing::TestWithParam<Row> {};

// Each save reports the failure with the dialog's own message, keeps the old file (bytes, mode
// and owner) and leaves no temporary; a save that works keeps the mode and, for root, the owner.
TEST_P(FailingStorage, SaveKeepsTheOldFileOrReplacesItWithItsModeAndOwner) {
    const Row& row = GetParam();
    const ScratchDirectory scratch;
    const std::string& dir = scratch.path();
    fs::permissions(dir, fs::perms::all); // for nobody too
    const GuardedOutcome child = runGuarded(
        [&] {
            std::cout << saveInChild(row, dir);
            return 0;
        },
        60);
    const std::string report = child.status == 0 ? child.out : "the child failed: " + child.err;
    std::error_code ignored; // a locked folder's files can be removed again
    fs::permissions(dir, fs::perms::all, ignored);
    if (report.starts_with("setup\n")) {
        GTEST_SKIP() << report;
    }
    const std::string bytes = row.error ? Old : mission::writeMissionInfo(SomeMission).value();
    std::string error = row.error ? row.error : "";
    if (const std::size_t at = error.find("{box}"); at != std::string::npos) {
        error.replace(at, 5, dir);
    }
    EXPECT_EQ(report, error + row.after + "\n" + bytes + "\nnames: mission.mif");
}

INSTANTIATE_TEST_SUITE_P(Saves, FailingStorage, ::testing::ValuesIn(Rows),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace tavo::testing

// The names are the linker's (--wrap=fsync).
// NOLINTBEGIN(bugprone-reserved-identifier,readability-identifier-naming)
extern "C" int __real_fsync(int fd);
extern "C" int __wrap_fsync(int fd) {
    if (tavo::testing::syncFails) {
        errno = EIO;
        return -1;
    }
    return __real_fsync(fd);
}
// NOLINTEND(bugprone-reserved-identifier,readability-identifier-naming)
