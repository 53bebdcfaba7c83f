#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <numeric>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <tuple>
#include <utime.h>

#include "common/files/extended_attributes.h"
#include "common/files/file_read.h"
#include "common/files/file_stamp.h"
#include "common/files/file_write.h"
#include "common/files/printable.h"
#include "tests/support/as_nobody.h"
#include "tests/support/guarded_run.h"
#include "tests/support/scratch_directory.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;

// Faults a test injects (the test program links with --wrap=fsync,--wrap=fsetxattr): the fsync()
// calls numbered from failSyncFrom to failSyncTo (counted from 1) fail with EIO, and so does
// fsetxattr() of failingAttribute.
int syncCalls = 0;
int failSyncFrom = 0;
int failSyncTo = 0;
std::string failingAttribute;

struct Faults {
    Faults(int from, int to, std::string attribute) {
        syncCalls = 0, failSyncFrom = from, failSyncTo = to;
        failingAttribute = std::move(attribute);
    }
    ~Faults() { failSyncFrom = failSyncTo = 0, failingAttribute.clear(); }
    Faults(const Faults&) = delete;
    Faults& operator=(const Faults&) = delete;
};

std::string text(const std::string& path) {
    const FileResult<std::vector<uint8_t>> bytes = readWholeFile(path, DataFileLimit);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

std::vector<uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

struct stat statOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info;
}

std::string names(const std::string& folder) {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        found.insert(entry.path().filename().string() + " ");
    }
    return std::accumulate(found.begin(), found.end(), std::string());
}

std::string outcome(const FileResult<void>& result) {
    return result ? "saved" : result.error().text;
}

// A file with a second name: a save through one name must reach the other, keep the inode and
// leave no temporary. A rewrite that fails puts the old bytes back; when that fails too, the
// new bytes stay in the temporary the message names. A file too large to keep is refused.
TEST(FileWriter, HardLinkedFileIsRewrittenInPlaceAndPutBackWhenThatFails) {
    const struct {
        const char* name;
        int failFrom, failTo; // the target's sync is the second; putting back syncs a third time
        std::size_t keepLimit;
        mode_t mode, modeAfter;
        const char* error; // after "cannot write PATH: "; nullptr: saved
        const char* after; // both names
    } rows[] = {
        {"Saved", 0, 0, 64, 04640, 0640, nullptr, "the new bytes"},
        {"TargetSyncFailsOldBytesExactlyAtTheLimit", 2, 2, 3, 0640, 0640,
         "Input/output error; the file was put back as it was", "old"},
        {"PuttingBackFailsToo", 2, 3, 64, 0640, 0640,
         "Input/output error, and its old bytes could not be put back; the new bytes are in ",
         "old"},
        {"TooLargeToKeep", 0, 0, 2, 0640, 0640,
         "it has other hard links and is larger than 2 bytes, too large to keep for putting back "
         "should the save fail; nothing was written",
         "old"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const testing::ScratchDirectory dir;
        const std::string a = dir.write("a.pd1", "old"), b = dir.at("b.pd1");
        ASSERT_EQ(::chmod(a.c_str(), row.mode), 0);
        fs::create_hard_link(a, b);
        const ino_t inode = statOf(a).st_ino;
        const Faults faults(row.failFrom, row.failTo, "");
        const FileResult<void> wrote =
            writeFileAtomically(a, bytesOf("the new bytes"), row.keepLimit);
        const std::string expected = row.error ? "cannot write " + a + ": " + row.error : "saved";
        EXPECT_EQ(outcome(wrote).substr(0, expected.size()), expected);
        const bool kept = row.failTo == 3; // the temporary, named last in the message
        const std::string temporary = kept ? outcome(wrote).substr(expected.size()) : "";
        EXPECT_EQ(names(dir.path()),
                  (kept ? fs::path(temporary).filename().string() + " " : "") + "a.pd1 b.pd1 ");
        if (kept) {
            EXPECT_EQ(text(temporary), "the new bytes") << "the author's bytes";
        }
        EXPECT_EQ(text(a), row.after);
        EXPECT_EQ(text(b), row.after);
        EXPECT_EQ(statOf(b).st_ino, inode) << "the other name keeps the file";
        EXPECT_EQ(statOf(a).st_ino, inode);
        EXPECT_EQ(statOf(a).st_mode & 07777, row.modeAfter);
    }
}

// A user who saves over a file of a group they belong to (not their own group) leaves it that
// group's; the new file is the user's. Run as nobody with a second group, since root keeps the
// owner anyway.
TEST(FileWriter, AUsersSaveKeepsTheFilesGroupWhenTheUserIsInIt) {
    constexpr gid_t Users = 100;
    const testing::ScratchDirectory dir;
    fs::permissions(dir.path(), fs::perms::all);
    const std::string file = dir.write("shared.mif", "old");
    ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
    if (::geteuid() != 0 || ::chown(file.c_str(), 0, Users) != 0) {
        GTEST_SKIP() << "needs root, to give the file a group and become nobody";
    }
    const testing::GuardedOutcome child = testing::runGuarded([&] {
        if (!testing::becomeNobody({Users})) {
            return 99;
        }
        std::printf("%s", outcome(writeFileAtomically(file, bytesOf("new"))).c_str());
        return 0;
    });
    ASSERT_EQ(child.status, 0) << child.err;
    EXPECT_EQ(child.out, "saved");
    EXPECT_EQ(std::tuple(statOf(file).st_uid, statOf(file).st_gid),
              std::tuple(testing::NobodyId, Users));
}

// Runs a shell command; its status.
int shell(const std::string& command) {
    return std::system((command + " 2>/dev/null").c_str());
}

std::optional<std::string> attribute(const std::string& path, const char* name) {
    std::string value(4096, '\0');
    const ssize_t size = ::getxattr(path.c_str(), name, value.data(), value.size());
    if (size < 0) {
        return std::nullopt;
    }
    value.resize(static_cast<std::size_t>(size));
    return value;
}

// The scratch file system, or failing that one under the working directory (the build tree),
// that takes an ACL and a user attribute; nothing when neither does.
std::optional<std::string> folderWithAttributes(const testing::ScratchDirectory& scratch) {
    static int made = 0;
    const std::string local = fs::current_path() / ("files_test_" + std::to_string(::getpid()) +
                                                    "_" + std::to_string(made++));
    for (const std::string& folder : {scratch.path(), local}) {
        fs::create_directories(folder);
        const std::string probe = folder + "/probe";
        std::ofstream(probe) << "x";
        const bool works = shell("setfacl -m u:nobody:rw " + probe) == 0 &&
                           shell("setfattr -n user.note -v x " + probe) == 0;
        fs::remove(probe);
        if (works) {
            return folder;
        }
    }
    fs::remove_all(local);
    return std::nullopt;
}

// An ACL entry and a user note follow the file; when the ACL cannot follow, the group bits come
// from the ACL's group-owner entry (never more than its mask), not from the mask the old mode
// showed; an attribute that cannot follow is left out and the save goes on.
TEST(FileWriter, AclAndAttributesFollowTheFileAndItsGroupNeverWidens) {
    const testing::ScratchDirectory scratch;
    const std::optional<std::string> folder = folderWithAttributes(scratch);
    if (!folder) {
        GTEST_SKIP() << "no file system here takes ACLs and user attributes (setfacl, setfattr)";
    }
    const struct {
        const char* name;
        mode_t mode;
        const char* acl;     // setfacl -m
        const char* refused; // the attribute fsetxattr() refuses
        mode_t modeAfter;
    } rows[] = {
        {"AllFollow", 0640, "u:nobody:rw", "", 0660},
        {"AclRefused", 0640, "u:nobody:rw", "system.posix_acl_access", 0640},
        {"AclRefusedMaskNarrowerThanGroup", 0670, "u:nobody:r,m::r", "system.posix_acl_access",
         0640},
        {"NoteRefused", 0640, "u:nobody:rw", "user.note", 0660},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string file = *folder + "/" + row.name + ".mif";
        std::ofstream(file) << "old";
        ASSERT_EQ(::chmod(file.c_str(), row.mode), 0);
        ASSERT_EQ(shell("setfacl -m " + std::string(row.acl) + " " + file), 0);
        ASSERT_EQ(shell("setfattr -n user.note -v kept " + file), 0);
        const std::optional<std::string> acl = attribute(file, "system.posix_acl_access");
        const Faults faults(0, 0, row.refused);
        EXPECT_EQ(outcome(writeFileAtomically(file, bytesOf("new"))), "saved");
        EXPECT_EQ(text(file), "new");
        const bool aclRefused = std::string(row.refused) == "system.posix_acl_access";
        EXPECT_EQ(attribute(file, "system.posix_acl_access"), aclRefused ? std::nullopt : acl);
        EXPECT_EQ(attribute(file, "user.note"), row.refused == std::string("user.note")
                                                    ? std::nullopt
                                                    : std::optional<std::string>("kept"));
        EXPECT_EQ(statOf(file).st_mode & 07777, row.modeAfter);
    }
    if (*folder != scratch.path()) {
        fs::remove_all(*folder);
    }
}

// The group-owner entry of an ACL's bytes, read without trusting them.
TEST(FileWriter, AclGroupOwnerEntryIsReadOnlyFromAWholeVersionTwoAclAndBoundsTheGroupBits) {
    // Entries of tag, permissions, id: owner rw, user 7 r, group owner r-x, mask rwx, other none.
    const std::vector<uint8_t> acl = {
        2,    0, 0, 0,                         // version
        0x01, 0, 6, 0, 0xFF, 0xFF, 0xFF, 0xFF, // owner
        0x02, 0, 4, 0, 7,    0,    0,    0,    // user 7
        0x04, 0, 5, 0, 0xFF, 0xFF, 0xFF, 0xFF, // group owner
        0x10, 0, 7, 0, 0xFF, 0xFF, 0xFF, 0xFF, // mask
        0x20, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, // other
    };
    auto with = [&](std::size_t at, uint8_t value) {
        std::vector<uint8_t> changed = acl;
        changed[at] = value;
        return changed;
    };
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        std::optional<unsigned> permissions;
    } rows[] = {
        {"Whole", acl, 5u},
        {"HighPermissionBitsIgnored", with(22, 0x0D), 5u},
        {"PermissionsHighByteIgnored", with(23, 0x01), 5u},
        {"TagHighByteCounts", with(21, 0x01), std::nullopt},
        {"OtherVersion", with(0, 1), std::nullopt},
        {"VersionHighByteCounts", with(3, 1), std::nullopt},
        {"EntryCutShort", std::vector<uint8_t>(acl.begin(), acl.end() - 1), std::nullopt},
        {"HeaderOnly", std::vector<uint8_t>(acl.begin(), acl.begin() + 4), std::nullopt},
        {"HeaderCutShort", std::vector<uint8_t>(acl.begin(), acl.begin() + 3), std::nullopt},
        {"Empty", {}, std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(aclGroupOwnerPermissions(row.bytes), row.permissions) << row.name;
    }
    // Nothing past the value's end is read: the entry right after it here is a group owner.
    EXPECT_EQ(aclGroupOwnerPermissions(std::span(acl).first(20)), std::nullopt) << "NoGroupOwner";
    // The mode without the ACL: the group-owner entry r-x, within the old group bits.
    const struct {
        const char* name;
        mode_t old;
        std::vector<uint8_t> acl;
        mode_t mode;
    } modes[] = {
        {"GroupOwnerWithinTheMask", 0664, acl, 0644},
        {"MaskWiderThanTheGroupOwner", 0674, acl, 0654},
        {"SetIdDroppedStickyKept", 07664, acl, 01644},
        {"UnreadableAclGivesTheGroupNothing", 0674, {}, 0604},
    };
    for (const auto& row : modes) {
        EXPECT_EQ(modeWithoutAcl(row.old, row.acl), row.mode) << row.name;
    }
}

// A stamp tells a file someone else changed from one only touched or left alone.
TEST(FileStamps, AnotherFileSizeOrBytesIsAChangeButATouchIsNot) {
    const testing::ScratchDirectory dir;
    const struct {
        const char* name;
        std::function<void(const std::string&)> meanwhile;
        bool changed;
    } rows[] = {
        {"LeftAlone", [](const std::string&) {}, false},
        {"TouchedOnly", [](const std::string& f) { ::utime(f.c_str(), nullptr); }, false},
        {"SameSizeOtherBytes",
         [](const std::string& f) {
             std::ofstream(f, std::ios::binary) << "points B";
             struct timespec later[2] = {{0, UTIME_OMIT}, {statOf(f).st_mtim.tv_sec + 5, 1}};
             ::utimensat(AT_FDCWD, f.c_str(), later, 0);
         },
         true},
        {"OtherSize", [](const std::string& f) { std::ofstream(f, std::ios::app) << "!"; }, true},
        {"SameBytesAsAnotherFile",
         [&](const std::string& f) {
             std::ofstream(f + ".new", std::ios::binary) << "points A";
             fs::rename(f + ".new", f);
         },
         true},
        {"Gone", [](const std::string& f) { fs::remove(f); }, false},
    };
    for (const auto& row : rows) {
        const std::string file = dir.write(std::string(row.name) + ".pd1", "points A");
        // Back-dated, so that a write within the same clock tick still shows another time.
        struct timespec earlier[2] = {{0, UTIME_OMIT}, {1000000, 0}};
        ::utimensat(AT_FDCWD, file.c_str(), earlier, 0);
        const std::optional<FileStamp> stamp = takeFileStamp(file);
        ASSERT_TRUE(stamp.has_value()) << row.name;
        row.meanwhile(file);
        EXPECT_EQ(changedOnDisk(*stamp, file), row.changed) << row.name;
    }
    EXPECT_FALSE(takeFileStamp(dir.path()).has_value()) << "a folder";
}

// Reading at most a limit and refusing what is no regular file, and saving over links, FIFOs,
// devices and read-only or set-id files, are replayed through the file_access fuzz check; the
// texts of the refusals are pinned through pointtool, and failing storage in the storage tests.
// Here what none of those reaches: the bytes and the umask's mode of a new file made through a
// dangling link.
TEST(Files, WriterMakesANewFileThroughADanglingLink) {
    const testing::ScratchDirectory dir;
    ::umask(022);
    fs::create_symlink("target", dir.at("link"));
    EXPECT_EQ(outcome(writeFileAtomically(dir.at("link"), bytesOf("new"))), "saved");
    EXPECT_EQ(text(dir.at("target")), "new");
    EXPECT_EQ(fs::status(dir.at("target")).permissions(), fs::perms(0644));
}

TEST(Printable, ControlBytesAreEscaped) {
    EXPECT_EQ(printable(std::string("a\0b\x1b[2J\n\t\r\x7f\\é", 14)),
              "a\\x00b\\x1b[2J\\n\\t\\r\\x7f\\é");
}

// Each row's bytes sit at the edge of what UTF-8 allows: the first and last of each length,
// overlong forms, surrogates, past U+10FFFF, cut short.
TEST(Printable, ForATitleBytesThatAreNotUtf8AreEscapedToo) {
    // U+0080, U+07FF, U+0800, U+FFFF, U+1000, U+D7FF, U+10000, U+10FFFF, U+40000.
    const std::string valid = "\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xE1\x80\x80\xED\x9F\xBF"
                              "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\xF1\x80\x80\x80";
    const std::pair<std::string, std::string> rows[] = {
        {valid, valid},
        {"m\xFF.mif", "m\\xff.mif"},
        {"\x7F\x80", "\\x7f\\x80"},
        {"\xC1\xBF", "\\xc1\\xbf"},                   // overlong two bytes
        {"\xC2 ", "\\xc2 "},                          // a second byte too low
        {"\xDF\xC0", "\\xdf\\xc0"},                   // and too high
        {"\xE0\x9F\xBF", "\\xe0\\x9f\\xbf"},          // overlong three bytes
        {"\xED\xA0\x80", "\\xed\\xa0\\x80"},          // a surrogate
        {"\xE3\x81", "\\xe3\\x81"},                   // cut short
        {"\xE3\x81 ", "\\xe3\\x81 "},                 // a third byte too low
        {"\xE3\x81\xC0", "\\xe3\\x81\\xc0"},          // and too high
        {"\xF0\x8F\xBF\xBF", "\\xf0\\x8f\\xbf\\xbf"}, // overlong four bytes
        {"\xF4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"}, // past U+10FFFF
        {"\xF5\x80\x80\x80", "\\xf5\\x80\\x80\\x80"},
        {"\xF0\x90\x80\xC0", "\\xf0\\x90\\x80\\xc0"}, // the fourth byte too high
        {"\xF0\x90\x80", "\\xf0\\x90\\x80"},          // cut short
        {"テ\n", "テ\\n"},
    };
    for (const auto& [bytes, shown] : rows) {
        EXPECT_EQ(printableUtf8(bytes), shown) << printable(bytes);
    }
}

} // namespace
} // namespace tavo

// The names are the linker's (--wrap).
// NOLINTBEGIN(bugprone-reserved-identifier,readability-identifier-naming)
extern "C" int __real_fsync(int fd);
extern "C" int __wrap_fsync(int fd) {
    using namespace tavo;
    ++syncCalls;
    if (syncCalls >= failSyncFrom && syncCalls <= failSyncTo) {
        errno = EIO;
        return -1;
    }
    return __real_fsync(fd);
}
extern "C" int __real_fsetxattr(int fd, const char* name, const void* value, size_t size,
                                int flags);
extern "C" int __wrap_fsetxattr(int fd, const char* name, const void* value, size_t size,
                                int flags) {
    if (!tavo::failingAttribute.empty() && tavo::failingAttribute == name) {
        errno = EPERM;
        return -1;
    }
    return __real_fsetxattr(fd, name, value, size, flags);
}
// NOLINTEND(bugprone-reserved-identifier,readability-identifier-naming)
