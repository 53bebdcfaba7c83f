// The file reader and writer on every kind of path a user can name: regular files of any size
// (sparse ones far over the limit), FIFOs, directories, devices, links, dangling links and link
// loops. Nothing may block, read past the limit, replace a special file or leave a temporary; a
// regular file with a second name (a hard link) keeps it, and the second name shows the new bytes.
//
// Input: a kind byte (its top bit: a second name for the regular file), a limit byte, two mode
// bytes, four bytes of sparse size, then the bytes.

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "common/files/file_read.h"
#include "common/files/file_write.h"
#include "fuzz/check.h"
#include "fuzz/reader_checks.h"
#include "tests/support/scratch_directory.h"

namespace tavo::fuzz {
namespace {

namespace fs = std::filesystem;

enum Kind { Regular, Fifo, Directory, LinkToDevice, LinkToRegular, DanglingLink, LinkLoop, Sparse };
constexpr int KindCount = 8;
constexpr std::size_t HeaderSize = 8;

bool pointsAtRegular(Kind kind) {
    return kind == Regular || kind == LinkToRegular || kind == Sparse;
}

// Makes `path` what `kind` says; the regular file behind it is `file`.
void make(Kind kind, const std::string& path, const std::string& file,
          std::span<const uint8_t> bytes, uint64_t sparseSize, mode_t mode) {
    if (pointsAtRegular(kind)) {
        FILE* out = std::fopen(file.c_str(), "wb");
        FUZZ_REQUIRE(out != nullptr);
        FUZZ_REQUIRE(std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size());
        std::fclose(out);
        if (kind == Sparse) {
            FUZZ_REQUIRE(::truncate(file.c_str(), static_cast<off_t>(sparseSize)) == 0);
        }
        FUZZ_REQUIRE(::chmod(file.c_str(), mode) == 0);
    }
    const std::string target = kind == LinkToDevice ? "/dev/null" : kind == LinkLoop ? path : file;
    if (kind == Fifo) {
        FUZZ_REQUIRE(::mkfifo(path.c_str(), 0666) == 0);
    } else if (kind == Directory) {
        FUZZ_REQUIRE(::mkdir(path.c_str(), 0777) == 0);
    } else if (kind != Regular && kind != Sparse) { // a link of some kind
        FUZZ_REQUIRE(::symlink(target.c_str(), path.c_str()) == 0);
    }
}

std::size_t entries(const std::string& directory) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(directory), fs::directory_iterator()));
}

} // namespace

void checkFileAccess(std::span<const uint8_t> input) {
    static const testing::ScratchDirectory scratch;
    if (input.size() < HeaderSize) {
        return;
    }
    const auto kind = static_cast<Kind>(input[0] % KindCount);
    const bool linked = (input[0] & 0x80) != 0 && pointsAtRegular(kind);
    const std::size_t limit = std::size_t{input[1]} * 8;
    const auto mode = static_cast<mode_t>((input[2] | input[3] << 8) & 06777);
    const uint64_t sparseSize = uint64_t{input[4]} | uint64_t{input[5]} << 8 |
                                uint64_t{input[6]} << 16 | uint64_t{input[7]} << 24;
    const std::span<const uint8_t> bytes = input.subspan(HeaderSize);
    const std::string box = scratch.path() + "/box";
    fs::remove_all(box);
    fs::create_directory(box);
    const std::string path = box + "/name";
    const std::string file = kind == LinkToRegular || kind == DanglingLink ? box + "/file" : path;
    make(kind, path, file, bytes, sparseSize, mode);
    const std::string second = box + "/second";
    if (linked) {
        FUZZ_REQUIRE(::link(file.c_str(), second.c_str()) == 0);
    }
    const uint64_t size = kind == Sparse ? sparseSize : bytes.size();
    const bool root = ::geteuid() == 0;
    const bool readable = root || (mode & 0400) != 0;

    // Read: regular files give their first `limit` bytes and say whether there were more; every
    // other kind is refused, at once (a FIFO would block this run until libFuzzer's timeout).
    const FileResult<FilePrefix> read = readFilePrefix(path, limit);
    if (!read) {
        FUZZ_REQUIRE(!pointsAtRegular(kind) || !readable);
        FUZZ_REQUIRE(read.error().text.rfind("cannot read ", 0) == 0);
    } else {
        FUZZ_REQUIRE(pointsAtRegular(kind));
        FUZZ_REQUIRE(read->cut == (size > limit));
        FUZZ_REQUIRE(read->bytes.size() == std::min<uint64_t>(size, limit));
        const std::size_t shown = std::min(read->bytes.size(), bytes.size());
        FUZZ_REQUIRE(std::equal(read->bytes.begin(), read->bytes.begin() + shown, bytes.begin()));
        FUZZ_REQUIRE(std::all_of(read->bytes.begin() + shown, read->bytes.end(),
                                 [](uint8_t b) { return b == 0; }));
        const FileResult<std::vector<uint8_t>> whole = readWholeFile(path, limit);
        FUZZ_REQUIRE(whole.ok() == (size <= limit));
    }

    // Write: only a regular file (or none) the user may write is replaced, keeping its mode
    // without set-id bits; a link stays a link; nothing else is left in the directory.
    struct stat before {};
    const bool existed = ::stat(file.c_str(), &before) == 0;
    const std::size_t names = entries(box);
    const bool writable = existed && (root ? (mode & 0222) != 0 : (mode & 0200) != 0);
    // A linked file is rewritten in place, which needs its old bytes (to put back on failure),
    // and no more of them than the writer keeps.
    const bool rewritable = !linked || (readable && size <= DataFileLimit);
    const bool mayReplace =
        (pointsAtRegular(kind) && writable && rewritable) || kind == DanglingLink;
    const std::vector<uint8_t> next(bytes.rbegin(), bytes.rend());
    const FileResult<void> written = writeFileAtomically(path, next);
    FUZZ_REQUIRE(written.ok() == mayReplace);
    FUZZ_REQUIRE(entries(box) == names + (kind == DanglingLink ? 1 : 0));
    struct stat after {};
    const bool exists = ::lstat(path.c_str(), &after) == 0;
    FUZZ_REQUIRE(exists || kind == DanglingLink);
    if (kind != Regular && kind != Sparse) {
        FUZZ_REQUIRE((after.st_mode & S_IFMT) == (kind == Fifo        ? S_IFIFO
                                                  : kind == Directory ? S_IFDIR
                                                                      : S_IFLNK));
    }
    if (written && existed) {
        FUZZ_REQUIRE(::stat(file.c_str(), &after) == 0);
        FUZZ_REQUIRE((after.st_mode & 07777) == (before.st_mode & 0777));
        const FileResult<std::vector<uint8_t>> back = readWholeFile(file, next.size());
        FUZZ_REQUIRE(!readable || (back && *back == next));
        if (linked) {
            struct stat other {};
            FUZZ_REQUIRE(::stat(second.c_str(), &other) == 0);
            FUZZ_REQUIRE(other.st_ino == before.st_ino && after.st_ino == before.st_ino);
        }
    }
    if (!written && existed && S_ISREG(before.st_mode)) {
        FUZZ_REQUIRE(::stat(file.c_str(), &after) == 0);
        FUZZ_REQUIRE(after.st_ino == before.st_ino && after.st_size == before.st_size);
    }
}

} // namespace tavo::fuzz
