#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
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
        std::string dir = (fs::temp_directory_path() / "tavo-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(dir.data()), nullptr);
        dir_ = dir;
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string at(const std::string& name) const { return dir_ + "/" + name; }
    std::string make(const std::string& name, const std::string& text) const {
        std::ofstream(at(name), std::ios::binary) << text;
        return at(name);
    }
    std::string contents(const std::string& name) const {
        const FileResult<Bytes> read = readWholeFile(at(name), 64);
        return read ? std::string(read->begin(), read->end()) : read.error().text;
    }
    std::vector<std::string> names() const {
        std::vector<std::string> all;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            all.push_back(entry.path().filename().string());
        }
        std::sort(all.begin(), all.end());
        return all;
    }
    std::string dir_;
};

std::string kindOf(const FileError& error) {
    static const char* const names[] = {"CannotOpen",  "NotRegular",  "TooLarge",   "ReadFailed",
                                        "NotWritable", "SameAsInput", "WriteFailed"};
    return names[static_cast<int>(error.kind)];
}

TEST_F(Files, ReaderTakesRegularFilesUpToTheLimitAndRefusesTheRestAtOnce) {
    make("short", "abc");
    make("long", "abcdefgh");
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0600), 0);
    fs::create_directory(at("folder"));
    fs::create_symlink("/dev/zero", at("zero"));
    { // a sparse file far beyond the limit: only the limit is ever read
        std::ofstream sparse(at("sparse"), std::ios::binary);
        sparse.seekp(std::streamoff{3} << 30);
        sparse.put('x');
    }
    const struct {
        const char* name;
        std::size_t limit;
        std::string result; // "bytes, cut" or the error's kind
    } rows[] = {
        {"short", 4, "abc, 0"},
        {"long", 4, "abcd, 1"},
        {"fifo", 4, "NotRegular"},
        {"folder", 4, "NotRegular"},
        {"zero", 4, "NotRegular"},
        {"missing", 4, "CannotOpen"},
        {"sparse", 2, std::string(2, '\0') + ", 1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const FileResult<FilePrefix> read = readFilePrefix(at(row.name), row.limit);
        const std::string got = read ? std::string(read->bytes.begin(), read->bytes.end()) + ", " +
                                           std::to_string(read->cut)
                                     : kindOf(read.error());
        EXPECT_EQ(got, row.result);
    }
    const FileResult<Bytes> whole = readWholeFile(at("sparse"), DataFileLimit);
    ASSERT_FALSE(whole);
    EXPECT_EQ(whole.error().text,
              "cannot read " + at("sparse") +
                  ": larger than 1048576 bytes, which is too large for this kind of file");
    EXPECT_EQ(readFilePrefix(at("fifo"), 1).error().text,
              "cannot read " + at("fifo") + ": it is a FIFO, not a regular file");
}

// Failing storage, kept modes, links and FIFOs or devices are saved over through both editors in
// the storage tests; here what those do not reach.
TEST_F(Files, WriterMakesANewFileThroughADanglingLinkAndRefusesAFolder) {
    ::umask(022);
    fs::create_symlink("target", at("link"));
    fs::create_directory(at("folder"));
    const Bytes next = {'n', 'e', 'w'};
    const FileResult<void> wrote = writeFileAtomically(at("link"), next);
    EXPECT_EQ(wrote ? "saved" : kindOf(wrote.error()), "saved");
    EXPECT_EQ(contents("target"), "new");
    struct stat info {};
    ASSERT_EQ(::stat(at("target").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
    EXPECT_EQ(fs::is_symlink(at("link")), true);
    const FileResult<void> folder = writeFileAtomically(at("folder"), next);
    EXPECT_EQ(folder ? "saved" : kindOf(folder.error()), "NotRegular");
    EXPECT_EQ(names(), (std::vector<std::string>{"folder", "link", "target"})); // no temporary
    EXPECT_EQ(std::tuple(isSameFile(at("target"), at("link")),
                         isSameFile(at("target"), at("folder")),
                         isSameFile(at("target"), at("missing"))),
              std::tuple(true, false, false));
}

TEST(Printable, ControlBytesAreEscaped) {
    EXPECT_EQ(printable(std::string("a\0b\x1b[2J\n\x7f\\é", 12)), "a\\x00b\\x1b[2J\\n\\x7f\\é");
}

} // namespace
} // namespace tavo
