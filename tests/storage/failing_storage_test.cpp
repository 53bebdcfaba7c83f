// Saving onto storage that fails: a full disk, a full file system, a directory the user may not
// write and a read-only file. Each save must show the program's own message, leave a file that
// was there as it was, and leave no temporary file behind. Every case runs in a child process,
// so that a file-size limit, a private mount or a dropped privilege never reaches the runner.

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "pointeditor/data/point_file.h"
#include "tests/support/fake_platform.h"

#ifdef TAVO_STORAGE_MISSION
#include <QApplication>

#include "missioneditor/mission_dialog.h"
#endif

namespace tavo::testing {
namespace {

namespace fs = std::filesystem;

const std::string kOld = "the file as it was before the save\n";

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
        state->pointUsed[i * 2] = 1;
    }
    const bool saved = savePointFile(*state, path);
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

#ifdef TAVO_STORAGE_MISSION
mission::MissionInfo someMission() {
    mission::MissionInfo info;
    info.missionName = "m07";
    info.fullName = "A mission saved onto failing storage";
    info.briefingText = "First line.\nSecond line.";
    return info;
}

class AnsweringServices : public mission::DialogServices {
public:
    explicit AnsweringServices(QString path) : path_(std::move(path)) {}
    std::string report;
    std::optional<QString> chooseFile(QWidget*, const mission::FileRequest&) override {
        return path_;
    }
    void errorBox(const QString& text, const QString& caption) override {
        report += text.toStdString() + " | " + caption.toStdString() + "\n";
    }
    mission::SaveAnswer askToSave(QWidget*, const QString&, const QString&) override {
        return mission::SaveAnswer::cancel;
    }

private:
    QString path_;
};

std::string saveMission(const std::string& path) {
    int argc = 1;
    char name[] = "storage_tests";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv); // the child's own
    AnsweringServices services(QString::fromStdString(path));
    mission::MissionDialog dialog(services, false);
    dialog.showMissionInfo(someMission());
    dialog.save();
    return services.report;
}

std::string savedMission() {
    return mission::writeMissionInfo(someMission()).bytes;
}
#endif

struct Saver {
    const char* name;
    std::string fileName, caption, openError, writeError;
    std::string (*save)(const std::string& path); // one "text | caption" line per box shown
    std::string (*expected)();                    // the bytes a successful save writes
};

const Saver kSavers[] = {
    {"points", "points.pd1", "error", "file open error", "file open error", savePoints,
     savedPoints},
#ifdef TAVO_STORAGE_MISSION
    {"mission", "mission.mif", "ERROR", "file open error", "file open error (writing)", saveMission,
     savedMission},
#endif
};

// Working storage is the control: the same unprivileged child succeeds there.
enum class Storage { Working, FileSizeLimit, FullTmpfs, LockedDirectory, ReadOnlyFile };

// In the child: make `box` fail as asked, save over the old file there (and, when `fresh`, to a
// new name), and report the boxes, the old file's bytes and the names left in `box`.
std::string saveInChild(Storage storage, const Saver& saver, const std::string& box, bool fresh) {
    auto refuse = [](const char* why) {
        return "setup\n" + std::string(why) + ": " + std::strerror(errno);
    };
    if (storage == Storage::FullTmpfs &&
        (::unshare(CLONE_NEWNS) != 0 ||
         ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
         ::mount("tavo-full", box.c_str(), "tmpfs", 0, "size=65536,mode=0777") != 0)) {
        return refuse("no tmpfs of our own here");
    }
    const std::string existing = box + "/" + saver.fileName;
    writeText(existing, kOld);
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
    fs::permissions(existing, storage == Storage::ReadOnlyFile ? fs::perms(0444) : fs::perms(0666));
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
    } else if (::geteuid() == 0 &&
               (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
                ::setresuid(65534, 65534, 65534) != 0)) {
        // Root writes through permission bits: drop to nobody.
        return refuse("cannot drop root to nobody");
    }
    std::string report = "ran\n" + saver.save(existing);
    if (fresh) {
        report += saver.save(box + "/new_" + saver.fileName);
    }
    report += "file: " + readText(existing) + "names:";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(box)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        report += " " + name;
    }
    return report;
}

// Runs saveInChild in a forked child and returns what it wrote.
std::string runInChild(Storage storage, const Saver& saver, const std::string& box, bool fresh) {
    int ends[2];
    if (::pipe(ends) != 0) {
        return "no pipe";
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ends[0]);
        const std::string text = saveInChild(storage, saver, box, fresh);
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

TEST(FailingStorage, EachSaveReportsTheFailureKeepsTheOldFileAndLeavesNoTemporary) {
    const struct {
        Storage storage;
        const char* name;
        std::string Saver::*error; // nullptr: the save works
        bool fresh;
    } rows[] = {
        {Storage::Working, "working storage", nullptr, false},
        {Storage::FileSizeLimit, "full disk", &Saver::writeError, true},
        {Storage::FullTmpfs, "full tmpfs", &Saver::writeError, false},
        {Storage::LockedDirectory, "directory without write permission", &Saver::openError, true},
        {Storage::ReadOnlyFile, "read-only file", &Saver::openError, false},
    };
    for (const Saver& saver : kSavers) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(saver.name) + " onto a " + row.name);
            std::string dir = (fs::temp_directory_path() / "tavo-storage-XXXXXX").string();
            ASSERT_NE(::mkdtemp(dir.data()), nullptr);
            const std::string box = dir + "/box";
            fs::create_directory(box);
            fs::permissions(dir, fs::perms::all);
            fs::permissions(box, fs::perms::all);
            const std::string report = runInChild(row.storage, saver, box, row.fresh);
            std::error_code ignored;
            fs::permissions(box, fs::perms::all, ignored);
            fs::remove_all(dir, ignored);
            if (report.rfind("setup\n", 0) == 0) {
                std::cout << "skipped " << saver.name << " onto a " << row.name << ": " << report
                          << "\n";
                continue;
            }
            std::string expected = "ran\n";
            std::string names = " " + saver.fileName;
            if (row.error == nullptr) {
                expected += "file: " + saver.expected();
            } else {
                const std::string line = saver.*row.error + " | " + saver.caption + "\n";
                expected += line + (row.fresh ? line : "") + "file: " + kOld;
                names = (row.storage == Storage::FullTmpfs ? " filler" : "") + names;
            }
            EXPECT_EQ(report, expected + "names:" + names);
        }
    }
}

} // namespace
} // namespace tavo::testing
