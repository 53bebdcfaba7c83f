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

// Each row's bytes sit at the edge of what UTF-8 allows: the first and last of each length,
// overlong forms, surrogates, past U+10FFFF, cut short.
TEST(Printable, ForATitleBytesThatAreNotUtf8AreEscapedToo) {
    const std::pair<std::string, std::string> rows[] = {
        {"m\xFF.mif", "m\\xff.mif"},
        {"\x7F\x80", "\\x7f\\x80"},
        {"\xC1\xBF", "\\xc1\\xbf"},                               // overlong two bytes
        {"\xC2\x80\xDF\xBF", "\xC2\x80\xDF\xBF"},                 // U+0080, U+07FF
        {"\xC2 ", "\\xc2 "},                                      // a second byte too low
        {"\xDF\xC0", "\\xdf\\xc0"},                               // and too high
        {"\xE0\x9F\xBF", "\\xe0\\x9f\\xbf"},                      // overlong three bytes
        {"\xE0\xA0\x80\xEF\xBF\xBF", "\xE0\xA0\x80\xEF\xBF\xBF"}, // U+0800, U+FFFF
        {"\xE1\x80\x80\xED\x9F\xBF", "\xE1\x80\x80\xED\x9F\xBF"}, // U+1000, U+D7FF
        {"\xED\xA0\x80", "\\xed\\xa0\\x80"},                      // a surrogate
        {"\xE3\x81", "\\xe3\\x81"},                               // cut short
        {"\xE3\x81 ", "\\xe3\\x81 "},                             // a third byte too low
        {"\xE3\x81\xC0", "\\xe3\\x81\\xc0"},                      // and too high
        {"\xF0\x8F\xBF\xBF", "\\xf0\\x8f\\xbf\\xbf"},             // overlong four bytes
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
         "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},         // U+10000, U+10FFFF
        {"\xF1\x80\x80\x80", "\xF1\x80\x80\x80"},     // U+40000
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
