#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "common/files/file_read.h"
#include "common/files/file_write.h"
#include "common/files/printable.h"
#include "tests/support/scratch_directory.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;

// Reading at most a limit and refusing what is no regular file, and saving over links, FIFOs,
// devices and read-only or set-id files, are replayed through the file_access fuzz check; the
// texts of the refusals are pinned through pointtool, and failing storage in the storage tests.
// Here what none of those reaches: the bytes and the umask's mode of a new file made through a
// dangling link, and the message that refuses a folder.
TEST(Files, WriterMakesANewFileThroughADanglingLinkAndRefusesAFolder) {
    const testing::ScratchDirectory dir;
    ::umask(022);
    fs::create_symlink("target", dir.at("link"));
    fs::create_directory(dir.at("folder"));
    const std::vector<uint8_t> next = {'n', 'e', 'w'};
    const FileResult<void> wrote = writeFileAtomically(dir.at("link"), next);
    EXPECT_EQ(wrote ? "saved" : wrote.error().text, "saved");
    EXPECT_EQ(readWholeFile(dir.at("target"), 64).value(), next);
    EXPECT_EQ(fs::status(dir.at("target")).permissions(), fs::perms(0644));
    const FileResult<void> folder = writeFileAtomically(dir.at("folder"), next);
    EXPECT_EQ(folder ? "saved" : folder.error().text,
              "cannot write " + dir.at("folder") +
                  ": it is a directory, not a regular file; nothing was written");
}

TEST(Printable, ControlBytesAreEscaped) {
    EXPECT_EQ(printable(std::string("a\0b\x1b[2J\n\x7f\\é", 12)), "a\\x00b\\x1b[2J\\n\\x7f\\é");
}

} // namespace
} // namespace tavo
