// Paths of every kind for the file reader and writer, and pointtool's text form.

#include "fuzz/seeds/seed_files.h"
#include "pointeditor/data/point_file.h"
#include "tools/pointtool/text_form.h"

namespace tavo::fuzz {

using namespace std::string_literals;

std::vector<SeedFile> fileAccessSeeds() {
    // kind, limit / 8, mode (two bytes), sparse size (four bytes), then the bytes
    const std::vector<std::vector<uint8_t>> headers = {
        {0, 4, 0xa4, 0x01, 0, 0, 0, 0},     // regular 0644, limit 32
        {0, 1, 0x24, 0x01, 0, 0, 0, 0},     // regular 0444: read-only
        {0, 255, 0xed, 0x0d, 0, 0, 0, 0},   // regular 06755: set-id bits
        {1, 4, 0xa4, 0x01, 0, 0, 0, 0},     // FIFO
        {2, 4, 0xa4, 0x01, 0, 0, 0, 0},     // directory
        {3, 4, 0xa4, 0x01, 0, 0, 0, 0},     // link to a device
        {4, 4, 0xa0, 0x01, 0, 0, 0, 0},     // link to a regular file 0640
        {5, 4, 0xa4, 0x01, 0, 0, 0, 0},     // dangling link
        {6, 4, 0xa4, 0x01, 0, 0, 0, 0},     // link loop
        {7, 16, 0xa4, 0x01, 0, 0, 0, 0xc0}, // 3 GiB sparse file
    };
    std::vector<SeedFile> seeds;
    for (const auto& header : headers) {
        SeedFile seed{"path_" + std::to_string(seeds.size()) + ".bin", header};
        for (int i = 0; i < 40; ++i) {
            seed.bytes.push_back(static_cast<uint8_t>('a' + i % 26));
        }
        seeds.push_back(std::move(seed));
    }
    return seeds;
}

std::vector<SeedFile> pointTextSeeds() {
    auto seed = [](std::string name, const std::string& text) {
        return SeedFile{std::move(name), std::vector<uint8_t>(text.begin(), text.end())};
    };
    std::vector<SeedFile> seeds;
    const std::vector<std::string> notes = {"a note"};
    for (const SeedFile& points : pointFileSeeds()) {
        const PointFileContents contents = decodePointFile(points.bytes);
        seeds.push_back(seed("text_" + points.name + ".txt",
                             pointtool::writePointText(contents.records, notes)));
        if (seeds.size() == 6) {
            break;
        }
    }
    std::string bad = "tavo-points-text 1\n";
    for (int i = 0; i < 30; ++i) {
        bad +=
            "1 tw\0o 3 4 5 6 7 8\r\n"s + std::string(i % 2 ? "nan" : "1e39") + " 0 0 0 0 0 0 0\n";
    }
    seeds.push_back(seed("bad_lines.txt", bad));
    seeds.push_back(seed("no_header.txt", "1 2 3 4 5 6 7 8\n"));
    seeds.push_back(
        seed("bom_crlf.txt", "\xef\xbb\xbftavo-points-text 1\r\n0 0 0 0 2 1 0 1 # c\r\n"));
    return seeds;
}

} // namespace tavo::fuzz
