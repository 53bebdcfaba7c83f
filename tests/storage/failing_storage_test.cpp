// Saving onto storage that fails: a full disk, a full file system, a directory the user may not
// write and a read-only file. Each save must say so with the program's own message, leave a file
// that was there as it was, and leave no temporary file behind.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/storage/child_process.h"
#include "tests/storage/savers.h"

namespace tavo::testing {
namespace {

namespace fs = std::filesystem;

const std::string kOld = "the file as it was before the save\n";

// A directory every user may write, so that a child that dropped root can work in it.
class OpenDirectory {
public:
    OpenDirectory() {
        std::string pattern = (fs::temp_directory_path() / "tavo-storage-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
        fs::permissions(path_, fs::perms::all);
    }
    ~OpenDirectory() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::all, ignored);
        for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
            fs::permissions(entry.path(), fs::perms::all, ignored);
        }
        fs::remove_all(path_, ignored);
    }
    OpenDirectory(const OpenDirectory&) = delete;
    OpenDirectory& operator=(const OpenDirectory&) = delete;

    std::string path(const std::string& name = "") const {
        return name.empty() ? path_ : path_ + "/" + name;
    }

    // The names in the directory and in its folders, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(path_)) {
            found.push_back(fs::relative(entry.path(), path_).string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    std::string path_;
};

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    return text;
}

ChildSetup asUnprivileged() {
    ChildSetup setup;
    setup.unprivileged = true;
    return setup;
}

ChildSetup withFileSizeLimit(rlim_t bytes) {
    ChildSetup setup;
    setup.fileSizeLimit = bytes;
    return setup;
}

ChildSetup withTmpfs(const std::string& at, std::size_t bytes) {
    ChildSetup setup;
    setup.tmpfsAt = at;
    setup.tmpfsBytes = bytes;
    return setup;
}

std::string boxLine(const std::string& text, const std::string& caption) {
    return text + " | " + caption + "\n";
}

} // namespace

void PrintTo(const Saver* saver, std::ostream* out) {
    *out << saver->name;
}

namespace {

class FailingStorage : public ::testing::TestWithParam<const Saver*> {
protected:
    const Saver& saver() const { return *GetParam(); }

    // The save's report, or a skip when the failure cannot be made on this machine.
    std::string save(const ChildSetup& setup, const std::string& path) {
        ChildResult result = runInChild(setup, [&] { return saver().save(path); });
        if (!result.ran) {
            skipped_ = result.report;
        }
        return result.report;
    }
    std::string skipped_;
};

TEST_P(FailingStorage, ASaveThatCanWriteReplacesTheFileAndLeavesNothingElse) {
    // The same unprivileged child as below, on storage that works: what fails below fails
    // because of the storage.
    OpenDirectory dir;
    writeText(dir.path(saver().fileName), kOld);
    fs::permissions(dir.path(saver().fileName),
                    fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all);
    EXPECT_EQ(save(asUnprivileged(), dir.path(saver().fileName)), "");
    if (!skipped_.empty()) {
        GTEST_SKIP() << skipped_;
    }
    EXPECT_EQ(readText(dir.path(saver().fileName)), saver().expected());
    EXPECT_EQ(dir.names(), std::vector<std::string>{saver().fileName});
}

TEST_P(FailingStorage, AFullDiskKeepsTheOldFileOrMakesNone) {
    // A file-size limit fails the writes exactly as a full disk does, for root too.
    OpenDirectory dir;
    const std::string existing = dir.path(saver().fileName);
    writeText(existing, kOld);
    const ChildSetup full = withFileSizeLimit(8);
    EXPECT_EQ(save(full, existing), boxLine(saver().writeError, saver().caption));
    EXPECT_EQ(readText(existing), kOld);
    EXPECT_EQ(dir.names(), std::vector<std::string>{saver().fileName});

    const std::string fresh = dir.path("new_" + saver().fileName);
    EXPECT_EQ(save(full, fresh), boxLine(saver().writeError, saver().caption));
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_EQ(dir.names(), std::vector<std::string>{saver().fileName});
}

TEST_P(FailingStorage, AFullFileSystemKeepsTheOldFile) {
    OpenDirectory dir;
    const std::string mount = dir.path("tmpfs");
    fs::create_directory(mount);
    const std::string existing = mount + "/" + saver().fileName;
    const ChildSetup setup = withTmpfs(mount, 64 * 1024);
    // The tmpfs lives only in the child: the old file is made, the disk filled and the save
    // tried there, and the child reports what the file and the folder hold afterwards.
    ChildResult result = runInChild(setup, [&] {
        writeText(existing, kOld);
        if (!fillFileSystem(mount, "filler")) {
            return std::string("could not fill the tmpfs");
        }
        std::string report = saver().save(existing);
        report += "file: " + readText(existing) + "names:";
        for (const auto& entry : fs::directory_iterator(mount)) {
            report += " " + entry.path().filename().string();
        }
        return report;
    });
    if (!result.ran) {
        GTEST_SKIP() << "no tmpfs of our own here (" << result.report
                     << "); the file-size limit above stands in for a full disk";
    }
    // Directory order is the file system's: either order will do.
    std::string expectedA = boxLine(saver().writeError, saver().caption) + "file: " + kOld +
                            "names: filler " + saver().fileName;
    std::string expectedB = boxLine(saver().writeError, saver().caption) + "file: " + kOld +
                            "names: " + saver().fileName + " filler";
    EXPECT_TRUE(result.report == expectedA || result.report == expectedB) << result.report;
}

TEST_P(FailingStorage, ADirectoryWithoutWritePermissionGetsNoFile) {
    OpenDirectory dir;
    const std::string locked = dir.path("locked");
    fs::create_directory(locked);
    const std::string existing = locked + "/" + saver().fileName;
    writeText(existing, kOld);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    const std::string report = save(asUnprivileged(), existing);
    if (!skipped_.empty()) {
        GTEST_SKIP() << "running as root without a user to drop to: " << skipped_;
    }
    EXPECT_EQ(report, boxLine(saver().openError, saver().caption));
    EXPECT_EQ(readText(existing), kOld);
    EXPECT_EQ(save(asUnprivileged(), locked + "/new_" + saver().fileName),
              boxLine(saver().openError, saver().caption));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"locked", "locked/" + saver().fileName}));
}

TEST_P(FailingStorage, AReadOnlyFileIsNotReplaced) {
    // The directory may be written, so an atomic save could rename over the file; it must not.
    OpenDirectory dir;
    const std::string existing = dir.path(saver().fileName);
    writeText(existing, kOld);
    fs::permissions(existing,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string report = save(asUnprivileged(), existing);
    if (!skipped_.empty()) {
        GTEST_SKIP() << "running as root without a user to drop to: " << skipped_;
    }
    EXPECT_EQ(report, boxLine(saver().openError, saver().caption));
    EXPECT_EQ(readText(existing), kOld);
    EXPECT_EQ(dir.names(), std::vector<std::string>{saver().fileName});
}

std::string saverName(const ::testing::TestParamInfo<const Saver*>& saver) {
    return saver.param->name;
}

INSTANTIATE_TEST_SUITE_P(Storage, FailingStorage, ::testing::ValuesIn(savers()), saverName);

} // namespace
} // namespace tavo::testing
