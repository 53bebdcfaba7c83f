#include "fuzz/seeds/seed_files.h"

#include <algorithm>

namespace tavo::fuzz {

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

std::vector<SeedFile> seedsFor(std::string_view target) {
    if (target == "point_file") {
        return pointFileSeeds();
    }
    if (target == "block_file") {
        return blockFileSeeds();
    }
    if (target == "jpeg_image") {
        return jpegImageSeeds();
    }
    if (target == "png_image") {
        return pngImageSeeds();
    }
    if (target == "bmp_image") {
        std::vector<SeedFile> seeds = readerImageSeeds();
        std::erase_if(seeds, [](const SeedFile& seed) { return !seed.name.ends_with(".bmp"); });
        return seeds;
    }
    if (target == "reader_image") {
        return readerImageSeeds();
    }
    if (target == "mission_file") {
        return missionFileSeeds();
    }
    if (target == "file_access") {
        return fileAccessSeeds();
    }
    if (target == "point_text") {
        return pointTextSeeds();
    }
    if (target == "event_sequence") {
        return eventSequenceSeeds();
    }
    if (target == "map_frame") {
        return mapFrameSeeds();
    }
    if (target == "texture_upload") {
        std::vector<SeedFile> seeds = jpegImageSeeds();
        for (auto more : {pngImageSeeds(), readerImageSeeds()}) {
            seeds.insert(seeds.end(), more.begin(), more.end());
        }
        return seeds;
    }
    return {};
}

} // namespace tavo::fuzz
