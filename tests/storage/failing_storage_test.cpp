// Saving through both editors onto storage that fails: a full disk, a directory the user may not
// write, a read-only file, a failing sync; and the mode and owner a save that works keeps. Each
// save must show the program's own message, leave a file that was there as it was, and leave no
// temporary file behind. Links, FIFOs, devices and set-id bits are the file writer's alone: the
// file_access fuzz check replays those as a unit test. Every case runs in a child process, so that
// a file-size limit or a dropped privilege never reaches the runner. A full disk is a file-size
// limit: unlike a full file system it also makes a write stop part way.

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <iostream>
#include <set>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "pointeditor/data/point_file.h"
#include "tests/support/fake_platform.h"
#include "tests/support/guarded_run.h"

#include <QApplication>

#include "missioneditor/mission_dialog.h"

namespace tavo::testing {
namespace {

namespace fs = std::filesystem;

const std::string Old = "the file as it was before the save\n";

// One "text | caption" line per box shown.
std::string boxLines(const std::vector<RecordedBox>& boxes) {
    std::string lines;
    for (const RecordedBox& box : boxes) {
        lines += box.text + " | " + box.caption + "\n";
    }
    return lines;
}

std::vector<PointRecord> somePoints() {
    return {{0, 0, 0, 0, 0, 0, 0, 1}, {10, 0, 0, 0, 0, 0, 0, 2}, {20, 0, 0, 0, 0, 0, 0, 3}};
}

std::string savePoints(const std::string& path) {
    auto state = std::make_unique<EditorState>();
    FakePlatform window;
    state->platform = &window;
    for (std::size_t i = 0; i < 3; ++i) {
        state->points[i * 2] = somePoints()[i]; // with free slots between
        state->pointUsed[i * 2] = SlotUsed;
    }
    const bool saved = savePointFile(*state, path).ok();
    return (saved == window.boxes.empty() ? "" : "result disagrees with boxes\n") +
           boxLines(window.boxes);
}

mission::MissionInfo someMission() {
    mission::MissionInfo info;
    info.missionName = "m07";
    info.briefingText = "A mission saved onto failing storage,\nin two lines.";
    return info;
}

std::string saveMission(const std::string& path) {
    int argc = 1;
    char name[] = "storage_tests";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv); // the child's own
    FakeDesktop services;
    services.dialogAnswers = {path};
    mission::MissionDialog dialog(services, false);
    dialog.showMissionInfo(someMission());
    dialog.save();
    return boxLines(services.boxes);
}

struct Saver {
    const char* name;
    std::string fileName, caption, openError, writeError;
    std::string (*save)(const std::string& path); // the boxes shown, as boxLines() gives them
    std::string (*expected)();                    // the bytes a successful save writes
};

const Saver Savers[] = {
    {"points", "points.pd1", "error", "file open error", "file open error", savePoints,
     [] {
         const std::vector<uint8_t> bytes = encodePointFile(somePoints());
         return std::string(bytes.begin(), bytes.end());
     }},
    {"mission", "mission.mif", "ERROR", "file open error", "file open error (writing)", saveMission,
     [] { return mission::writeMissionInfo(someMission()).value(); }},
};

// Working storage is the control: the same unprivileged child succeeds there.
enum class Storage {
    Working,
    FileSizeLimit,
    LockedDirectory,
    ReadOnlyFile,
    OtherOwner,  // a 0640 file of nobody's
    FailingSync, // fsync() fails
};
enum class Who { Root, Nobody };

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

// In the child: make `box` fail as asked, save over the old file there, and report the boxes,
// the file's mode, owner and bytes, and the names left in `box`.
std::string saveInChild(Storage storage, Who who, const Saver& saver, const std::string& box) {
    auto refuse = [](const char* why) {
        return "setup\n" + std::string(why) + ": " + std::strerror(errno);
    };
    const bool root = ::geteuid() == 0;
    if (who == Who::Root && !root) {
        errno = EPERM;
        return refuse("not run as root");
    }
    const std::string file = box + "/" + saver.fileName;
    std::ofstream(file, std::ios::binary) << Old;
    const mode_t mode = storage == Storage::ReadOnlyFile ? 0444
                        : storage == Storage::OtherOwner ? 0640
                                                         : 0666;
    if (::chmod(file.c_str(), mode) != 0) {
        return refuse("cannot set the mode");
    }
    if (storage == Storage::OtherOwner && ::chown(file.c_str(), 65534, 65534) != 0) {
        return refuse("cannot give the file to nobody");
    }
    if (storage == Storage::LockedDirectory) {
        fs::permissions(box, fs::perms(0555));
    }
    // Writes past the limit fail with EFBIG like those on a full disk, for root too. The hard
    // limit stays, so that the report can be written afterwards.
    const rlimit limit{8, RLIM_INFINITY}, unlimited{RLIM_INFINITY, RLIM_INFINITY};
    if (storage == Storage::FileSizeLimit &&
        (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limit) != 0)) {
        return refuse("cannot limit the file size");
    }
    if (who == Who::Nobody && root &&
        (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
         ::setresuid(65534, 65534, 65534) != 0)) {
        // Root writes through permission bits: drop to nobody.
        return refuse("cannot drop root to nobody");
    }
    syncFails = storage == Storage::FailingSync;
    std::string report = saver.save(file);
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    report += describe(file) + "\nnames:";
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(box)) {
        names.insert(entry.path().filename().string());
    }
    for (const std::string& name : names) {
        report += " " + name;
    }
    return report;
}

struct Row {
    const char* name;
    Storage storage;
    Who who;
    std::string Saver::*error; // nullptr: the save works
    const char* after;         // the file's mode and owner afterwards, as describe() gives them
};

const Row Rows[] = {
    {"WorkingStorage", Storage::Working, Who::Nobody, nullptr, "666 uid 65534"},
    {"FullDisk", Storage::FileSizeLimit, Who::Root, &Saver::writeError, "666 uid 0"},
    {"LockedDirectory", Storage::LockedDirectory, Who::Nobody, &Saver::openError, "666 uid 0"},
    {"ReadOnlyFile", Storage::ReadOnlyFile, Who::Nobody, &Saver::openError, "444 uid 0"},
    {"OtherUsersFileAsRoot", Storage::OtherOwner, Who::Root, nullptr, "640 uid 65534"},
    {"FailingSync", Storage::FailingSync, Who::Root, &Saver::writeError, "666 uid 0"},
};

class FailingStorage : public ::testing::TestWithParam<std::tuple<Saver, Row>> {};

// Each save reports the failure with the program's own message, keeps the old file (bytes, mode
// and owner) and leaves no temporary; a save that works keeps the mode and, for root, the owner.
TEST_P(FailingStorage, SaveKeepsTheOldFileOrReplacesItWithItsModeAndOwner) {
    const Saver& saver = std::get<0>(GetParam()); // named, not bound: the lambda below takes them
    const Row& row = std::get<1>(GetParam());
    std::string dir = (fs::temp_directory_path() / "tavo-storage-XXXXXX").string();
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    fs::permissions(dir, fs::perms::all); // for nobody too
    const GuardedOutcome child = runGuarded(
        [&] {
            std::cout << saveInChild(row.storage, row.who, saver, dir);
            return 0;
        },
        60);
    const std::string report = child.status == 0 ? child.out : "the child failed: " + child.err;
    std::error_code ignored;
    fs::permissions(dir, fs::perms::all, ignored);
    fs::remove_all(dir, ignored);
    if (report.rfind("setup\n", 0) == 0) {
        GTEST_SKIP() << report;
    }
    const std::string shown = row.error ? saver.*row.error + " | " + saver.caption + "\n" : "";
    const std::string bytes = row.error ? Old : saver.expected();
    EXPECT_EQ(report, shown + row.after + "\n" + bytes + "\nnames: " + saver.fileName);
}

INSTANTIATE_TEST_SUITE_P(Saves, FailingStorage,
                         ::testing::Combine(::testing::ValuesIn(Savers), ::testing::ValuesIn(Rows)),
                         [](const auto& test) {
                             return std::string(std::get<0>(test.param).name) + "_" +
                                    std::get<1>(test.param).name;
                         });

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
