// Point and block files: the sample mission's, and the same with odd values, filled to the
// table, cut short or given a count that disagrees with the records.

#include <limits>

#include "fuzz/seeds/seed_files.h"
#include "pointeditor/data/point_file.h"
#include "samples/sample_mission.h"

namespace tavo::fuzz {
namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

template <class Record> std::vector<Record> cycled(const std::vector<Record>& records, int count) {
    std::vector<Record> out;
    for (int i = 0; i < count; ++i) {
        out.push_back(records[static_cast<std::size_t>(i) % records.size()]);
    }
    return out;
}

std::vector<uint8_t> withCount(std::vector<uint8_t> file, std::size_t at, int16_t count) {
    file.at(at) = static_cast<uint8_t>(count);
    file.at(at + 1) = static_cast<uint8_t>(static_cast<uint16_t>(count) >> 8);
    return file;
}

std::vector<uint8_t> cut(std::vector<uint8_t> file, std::size_t size) {
    file.resize(size);
    return file;
}

// The names the block target's map folder answers to (see block_file_check.cpp), in the
// spellings a Windows map may use for them, and names that resolve to nothing.
const std::vector<std::string> TextureNames = {
    "wall.bmp",
    "FLOOR.png",
    "sub\\deep\\tile.jpg",
    "SUB\\Deep\\grass.bmp",
    "\x95\xc7.bmp", // 壁.bmp
    "broken.png",
    "missing.bmp",
    "",
    ".\\sub\\..\\wall.bmp",
    "empty.bmp",
};

} // namespace

std::vector<SeedFile> pointFileSeeds() {
    const std::vector<PointRecord> points = sample::samplePoints();
    std::vector<PointRecord> odd(points.begin(), points.begin() + 4);
    odd[1].x = NaN;
    odd[1].y = -0.0f;
    odd[2].z = std::numeric_limits<float>::infinity();
    odd[3].p1 = -128;
    odd[3].p2 = 127;
    const std::vector<uint8_t> full = encodePointFile(cycled(points, MaxPoints));
    return {
        {"empty.pd1", encodePointFile({})},
        {"sample.pd1", encodePointFile(points)},
        {"odd_values.pd1", encodePointFile(odd)},
        {"full.pd1", full},
        {"count_over_table.pd1", withCount(full, 0, 300)},
        {"negative_count.pd1", withCount(encodePointFile(odd), 0, -1)},
        {"cut_short.pd1", cut(encodePointFile(odd), 2 + 2 * PointRecordSize + 7)},
        {"one_byte.pd1", {7}},
    };
}

std::vector<SeedFile> blockFileSeeds() {
    std::vector<BlockRecord> blocks = cycled(sample::sampleBlocks(), MaxBlocks);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        for (int f = 0; f < 6; ++f) {
            blocks[i].textureId[f] = static_cast<int32_t>(i + f) % TextureCount; // every slot
        }
    }
    const std::vector<uint8_t> full = sample::encodeBlockFile(TextureNames, blocks);
    blocks.resize(3);
    blocks[1].inUse = 0;
    blocks[2].textureId[0] = -1;
    blocks[2].textureId[1] = TextureCount;
    blocks[2].x[0] = NaN;
    const std::vector<uint8_t> three = sample::encodeBlockFile(TextureNames, blocks);
    std::vector<uint8_t> unterminated = three;
    std::fill_n(unterminated.begin(), TextureNameSize, 'w'); // name 0 fills its 31 bytes
    const std::size_t countAt = TextureCount * TextureNameSize;
    return {
        {"names_only.bd1", sample::encodeBlockFile(TextureNames, {})},
        {"three.bd1", three},
        {"full.bd1", full},
        {"count_over_table.bd1", withCount(full, countAt, 200)},
        {"negative_count.bd1", withCount(three, countAt, -5)},
        {"cut_short.bd1", cut(three, three.size() - 100)},
        {"unterminated_name.bd1", unterminated},
        {"header_cut.bd1", cut(three, 200)},
    };
}

} // namespace tavo::fuzz
