// Saving onto storage that fails or targets that must not be replaced: a full disk, a full file
// system, a directory the user may not write, a read-only file, a FIFO, a device, a failing sync;
// and the attributes a save that works keeps (mode, owner, a link). Each save must show the
// program's own message, leave a file that was there as it was, and leave no temporary file behind.
// Every case runs in a child process, so that a file-size limit, a private mount or a dropped
// privilege never reaches the runner.

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "pointeditor/data/point_file.h"
#include "tests/support/fake_platform.h"

#include <QApplication>

#include "missioneditor/mission_dialog.h"

namespace tavo::testing {
namespace {

namespace fs = std::filesystem;

const std::string Old = "the file as it was before the save\n";

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    return text;
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<PointRecord> somePoints() {
    std::vector<PointRecord> points(3);
    for (int i = 0; i < 3; ++i) {
        points[i].x = static_cast<float>(i) * 10.0f;
        points[i].p4 = static_cast<int8_t>(i + 1);
    }
    return points;
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
    std::string report = saved == window.boxes.empty() ? "" : "result disagrees with boxes\n";
    for (const RecordedBox& box : window.boxes) {
        report += box.text + " | " + box.caption + "\n";
    }
    return report;
}

std::string savedPoints() {
    std::vector<uint8_t> bytes = encodePointFile(somePoints());
    return {bytes.begin(), bytes.end()};
}

mission::MissionInfo someMission() {
    mission::MissionInfo info;
    info.missionName = "m07";
    info.fullName = "A mission saved onto failing storage";
    info.briefingText = "First line.\nSecond line.";
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
    std::string report;
    for (const RecordedBox& box : services.boxes) {
        report += box.text + " | " + box.caption + "\n";
    }
    return report;
}

std::string savedMission() {
    return mission::writeMissionInfo(someMission()).value();
}

struct Saver {
    const char* name;
    std::string fileName, caption, openError, writeError;
    std::string (*save)(const std::string& path); // one "text | caption" line per box shown
    std::string (*expected)();                    // the bytes a successful save writes
};

const Saver Savers[] = {
    {"points", "points.pd1", "error", "file open error", "file open error", savePoints,
     savedPoints},
    {"mission", "mission.mif", "ERROR", "file open error", "file open error (writing)", saveMission,
     savedMission},
};

// Working storage is the control: the same unprivileged child succeeds there.
enum class Storage {
    Working,
    FileSizeLimit,
    FullTmpfs,
    LockedDirectory,
    ReadOnlyFile,
    OtherOwner,  // a 0640 file of nobody's
    SetIdFile,   // 06755
    Symlink,     // the target is a link to the file
    Fifo,        // the target is a FIFO
    Device,      // the target is a character device (what /dev/null is)
    FailingSync, // fsync() fails
};
enum class Who { Root, Nobody };

// fsync() fails with EIO while this is set: the storage tests link with --wrap=fsync.
bool syncFails = false;

const std::string Real = "real_";

// The old file's stat line: its type or mode, and its owner.
std::string describe(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return "missing";
    }
    char mode[16];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
    const std::string type = S_ISREG(info.st_mode)    ? ""
                             : S_ISFIFO(info.st_mode) ? "fifo "
                             : S_ISCHR(info.st_mode)  ? "device "
                                                      : "other ";
    return type + mode + " uid " + std::to_string(info.st_uid);
}

// In the child: make `box` fail as asked, save over the old file there (and, when `fresh`, to a
// new name), and report the boxes, the old file's bytes, mode and owner, and the names left in
// `box` (a link marked "@").
std::string saveInChild(Storage storage, Who who, const Saver& saver, const std::string& box,
                        bool fresh) {
    auto refuse = [](const char* why) {
        return "setup\n" + std::string(why) + ": " + std::strerror(errno);
    };
    const bool root = ::geteuid() == 0;
    if (who == Who::Root && !root) {
        errno = EPERM;
        return refuse("not run as root");
    }
    if (storage == Storage::FullTmpfs &&
        (::unshare(CLONE_NEWNS) != 0 ||
         ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
         ::mount("tavo-full", box.c_str(), "tmpfs", 0, "size=65536,mode=0777") != 0)) {
        return refuse("no tmpfs of our own here");
    }
    const std::string existing = box + "/" + saver.fileName;
    const std::string file =
        storage == Storage::Symlink ? box + "/" + Real + saver.fileName : existing;
    if (storage == Storage::Fifo && ::mkfifo(file.c_str(), 0666) != 0) {
        return refuse("cannot make a FIFO");
    }
    if (storage == Storage::Device && ::mknod(file.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        return refuse("cannot make a device node");
    }
    if (storage == Storage::Symlink && ::symlink(file.c_str(), existing.c_str()) != 0) {
        return refuse("cannot make a link");
    }
    const bool special = storage == Storage::Fifo || storage == Storage::Device;
    if (!special) {
        writeText(file, Old);
    }
    if (storage == Storage::FullTmpfs) {
        int fd = ::open((box + "/filler").c_str(), O_WRONLY | O_CREAT, 0644);
        std::vector<char> block(4096, 'x');
        for (std::size_t size = block.size(); size > 0 && fd >= 0;) {
            if (::write(fd, block.data(), size) < 0) {
                size /= 2; // fill what is left of the last page too
            }
        }
        ::close(fd);
    }
    const mode_t mode = storage == Storage::ReadOnlyFile ? 0444
                        : storage == Storage::OtherOwner ? 0640
                        : storage == Storage::SetIdFile  ? 06755
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
    if (storage == Storage::FileSizeLimit) {
        // Writes past the limit fail with EFBIG like those on a full disk, for root too.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8, 8};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return refuse("cannot limit the file size");
        }
    }
    if (who == Who::Nobody && root &&
        (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
         ::setresuid(65534, 65534, 65534) != 0)) {
        // Root writes through permission bits: drop to nobody.
        return refuse("cannot drop root to nobody");
    }
    syncFails = storage == Storage::FailingSync;
    std::string report = "ran\n" + saver.save(existing);
    if (fresh) {
        report += saver.save(box + "/new_" + saver.fileName);
    }
    syncFails = false;
    report += "file: " + (special ? std::string() : readText(existing)) + "\n" + describe(file) +
              "\nnames:";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(box)) {
        names.push_back(entry.path().filename().string() + (entry.is_symlink() ? "@" : ""));
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        report += " " + name;
    }
    return report;
}

// Runs saveInChild in a forked child and returns what it wrote.
std::string runInChild(Storage storage, Who who, const Saver& saver, const std::string& box,
                       bool fresh) {
    int ends[2];
    if (::pipe(ends) != 0) {
        return "no pipe";
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ends[0]);
        const std::string text = saveInChild(storage, who, saver, box, fresh);
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t wrote = ::write(ends[1], text.data() + done, text.size() - done);
            done += wrote > 0 ? static_cast<std::size_t>(wrote) : text.size();
        }
        ::_exit(0);
    }
    ::close(ends[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(ends[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : "the child failed: " + text;
}

struct Row {
    const char* name;
    Storage storage;
    Who who;
    std::string Saver::*error; // nullptr: the save works
    bool fresh;
    const char* after; // the file's mode and owner afterwards, as describe() gives them
};

const Row Rows[] = {
    {"WorkingStorage", Storage::Working, Who::Nobody, nullptr, false, "0666 uid 65534"},
    {"FullDisk", Storage::FileSizeLimit, Who::Root, &Saver::writeError, true, "0666 uid 0"},
    {"FullTmpfs", Storage::FullTmpfs, Who::Nobody, &Saver::writeError, false, "0666 uid 0"},
    {"LockedDirectory", Storage::LockedDirectory, Who::Nobody, &Saver::openError, true,
     "0666 uid 0"},
    {"ReadOnlyFile", Storage::ReadOnlyFile, Who::Nobody, &Saver::openError, false, "0444 uid 0"},
    {"ReadOnlyFileAsRoot", Storage::ReadOnlyFile, Who::Root, &Saver::openError, false,
     "0444 uid 0"},
    {"OtherUsersFileAsRoot", Storage::OtherOwner, Who::Root, nullptr, false, "0640 uid 65534"},
    {"OwnFileAsNobody", Storage::OtherOwner, Who::Nobody, nullptr, false, "0640 uid 65534"},
    {"SetIdBitsDropped", Storage::SetIdFile, Who::Root, nullptr, false, "0755 uid 0"},
    {"Symlink", Storage::Symlink, Who::Root, nullptr, false, "0666 uid 0"},
    {"Fifo", Storage::Fifo, Who::Root, &Saver::openError, false, "fifo 0666 uid 0"},
    {"Device", Storage::Device, Who::Root, &Saver::openError, false, "device 0666 uid 0"},
    {"FailingSync", Storage::FailingSync, Who::Root, &Saver::writeError, false, "0666 uid 0"},
};

void PrintTo(const Saver& saver, std::ostream* out) {
    *out << saver.name;
}
void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

class FailingStorage : public ::testing::TestWithParam<std::tuple<Saver, Row>> {};

// Each save reports the failure with the program's own message, keeps the old file (bytes, mode
// and owner) and leaves no temporary; a save that works keeps the mode and, for root, the owner.
TEST_P(FailingStorage, SaveKeepsTheOldFileOrReplacesItWithItsModeAndOwner) {
    const auto& [saver, row] = GetParam();
    std::string dir = (fs::temp_directory_path() / "tavo-storage-XXXXXX").string();
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    const std::string box = dir + "/box";
    fs::create_directory(box);
    fs::permissions(dir, fs::perms::all);
    fs::permissions(box, fs::perms::all);
    const std::string report = runInChild(row.storage, row.who, saver, box, row.fresh);
    std::error_code ignored;
    fs::permissions(box, fs::perms::all, ignored);
    fs::remove_all(dir, ignored);
    if (report.rfind("setup\n", 0) == 0) {
        GTEST_SKIP() << report;
    }
    std::string expected = "ran\n";
    std::string names = " " + saver.fileName;
    if (row.storage == Storage::Symlink) {
        names = " " + saver.fileName + "@ " + Real + saver.fileName;
    }
    if (row.error == nullptr) {
        expected += "file: " + saver.expected();
    } else {
        const std::string line = saver.*row.error + " | " + saver.caption + "\n";
        const bool special = row.storage == Storage::Fifo || row.storage == Storage::Device;
        expected += line + (row.fresh ? line : "") + "file: " + (special ? "" : Old);
        names = (row.storage == Storage::FullTmpfs ? " filler" : "") + names;
    }
    EXPECT_EQ(report, expected + "\n" + row.after + "\nnames:" + names);
}

INSTANTIATE_TEST_SUITE_P(Saves, FailingStorage,
                         ::testing::Combine(::testing::ValuesIn(Savers), ::testing::ValuesIn(Rows)),
                         [](const auto& test) {
                             return std::string(std::get<0>(test.param).name) + "_" +
                                    std::get<1>(test.param).name;
                         });

} // namespace
} // namespace tavo::testing

extern "C" int __real_fsync(int fd);
extern "C" int __wrap_fsync(int fd) {
    if (tavo::testing::syncFails) {
        errno = EIO;
        return -1;
    }
    return __real_fsync(fd);
}
