#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "common/files/file_read.h"
#include "common/files/file_write.h"
#include "common/files/printable.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = (fs::temp_directory_path() / "tavo-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(dir_.data()), nullptr);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string at(const std::string& name) const { return dir_ + "/" + name; }
    std::string dir_;
};

TEST_F(Files, ReaderTakesRegularFilesUpToTheLimitAndRefusesTheRestAtOnce) {
    std::ofstream(at("short")) << "abc";
    std::ofstream(at("long")) << "abcdefgh";
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0600), 0);
    fs::create_directory(at("folder"));
    fs::create_symlink("/dev/zero", at("zero"));
    std::ofstream(at("sparse")) << 'x'; // then far beyond the limit: only the limit is ever read
    fs::resize_file(at("sparse"), std::uintmax_t{3} << 30);
    const auto refused = [this](const char* name, const std::string& why) {
        return "cannot read " + at(name) + ": " + why;
    };
    const struct {
        const char* name;
        std::size_t limit;
        std::string result; // "bytes, cut" or the error's text
    } rows[] = {
        {"short", 4, "abc, 0"},
        {"long", 4, "abcd, 1"},
        {"sparse", 2, "x" + std::string(1, '\0') + ", 1"},
        {"fifo", 4, refused("fifo", "it is a FIFO, not a regular file")},
        {"folder", 4, refused("folder", "it is a directory, not a regular file")},
        {"zero", 4, refused("zero", "it is a character device, not a regular file")},
        {"missing", 4, refused("missing", "No such file or directory")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const FileResult<FilePrefix> read = readFilePrefix(at(row.name), row.limit);
        const std::string got = read ? std::string(read->bytes.begin(), read->bytes.end()) + ", " +
                                           std::to_string(read->cut)
                                     : read.error().text;
        EXPECT_EQ(got, row.result);
    }
    const FileResult<Bytes> whole = readWholeFile(at("sparse"), DataFileLimit);
    EXPECT_EQ(whole ? "read" : whole.error().text,
              refused("sparse", "larger than 1048576 bytes, which is too large for this kind of "
                                "file"));
}

// Failing storage, kept modes, links and FIFOs or devices are saved over through both editors in
// the storage tests; here what those do not reach.
TEST_F(Files, WriterMakesANewFileThroughADanglingLinkAndRefusesAFolder) {
    ::umask(022);
    fs::create_symlink("target", at("link"));
    fs::create_directory(at("folder"));
    const Bytes next = {'n', 'e', 'w'};
    const FileResult<void> wrote = writeFileAtomically(at("link"), next);
    EXPECT_EQ(wrote ? "saved" : wrote.error().text, "saved");
    EXPECT_EQ(readWholeFile(at("target"), 64).value(), next);
    EXPECT_EQ(fs::status(at("target")).permissions(), fs::perms(0644));
    EXPECT_EQ(fs::is_symlink(at("link")), true);
    const FileResult<void> folder = writeFileAtomically(at("folder"), next);
    EXPECT_EQ(folder ? "saved" : folder.error().text,
              "cannot write " + at("folder") +
                  ": it is a directory, not a regular file; nothing was written");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"folder", "link", "target"})); // no temporary
}

TEST(Printable, ControlBytesAreEscaped) {
    EXPECT_EQ(printable(std::string("a\0b\x1b[2J\n\x7f\\é", 12)), "a\\x00b\\x1b[2J\\n\\x7f\\é");
}

} // namespace
} // namespace tavo
