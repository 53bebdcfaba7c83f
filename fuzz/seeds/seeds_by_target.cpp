#include <algorithm>

#include "fuzz/seeds/seed_files.h"

namespace tavo::fuzz {
namespace {

// The point and block seeds in the frame target's form: a switch byte, the length of the point
// file, the point file, then the block file.
std::vector<SeedFile> mapFrameSeeds() {
    const std::vector<SeedFile> points = pointFileSeeds();
    const std::vector<SeedFile> blocks = blockFileSeeds();
    std::vector<SeedFile> seeds;
    for (std::size_t i = 0; i < std::max(points.size(), blocks.size()); ++i) {
        const SeedFile& point = points[i % points.size()];
        const SeedFile& block = blocks[i % blocks.size()];
        const auto switches = static_cast<uint8_t>(0x1F ^ (i * 0x25));
        SeedFile seed{"frame_" + std::to_string(i) + ".bin",
                      {switches, static_cast<uint8_t>(point.bytes.size()),
                       static_cast<uint8_t>(point.bytes.size() >> 8)}};
        seed.bytes.insert(seed.bytes.end(), point.bytes.begin(), point.bytes.end());
        seed.bytes.insert(seed.bytes.end(), block.bytes.begin(), block.bytes.end());
        seeds.push_back(std::move(seed));
    }
    return seeds;
}

std::vector<SeedFile> bmpSeeds() {
    std::vector<SeedFile> seeds = readerImageSeeds();
    std::erase_if(seeds, [](const SeedFile& seed) { return !seed.name.ends_with(".bmp"); });
    return seeds;
}

std::vector<SeedFile> textureSeeds() {
    std::vector<SeedFile> seeds = jpegImageSeeds();
    for (auto more : {pngImageSeeds(), readerImageSeeds()}) {
        seeds.insert(seeds.end(), more.begin(), more.end());
    }
    return seeds;
}

struct TargetSeeds {
    std::string_view target;
    std::vector<SeedFile> (*seeds)();
};

const TargetSeeds Seeds[] = {
    {"point_file", pointFileSeeds},
    {"block_file", blockFileSeeds},
    {"jpeg_image", jpegImageSeeds},
    {"png_image", pngImageSeeds},
    {"bmp_image", bmpSeeds},
    {"reader_image", readerImageSeeds},
    {"mission_file", missionFileSeeds},
    {"file_access", fileAccessSeeds},
    {"point_text", pointTextSeeds},
    {"event_sequence", eventSequenceSeeds},
    {"map_frame", mapFrameSeeds},
    {"texture_upload", textureSeeds},
};

} // namespace

std::vector<SeedFile> seedsFor(std::string_view target) {
    for (const TargetSeeds& row : Seeds) {
        if (row.target == target) {
            return row.seeds();
        }
    }
    return {};
}

} // namespace tavo::fuzz
