#include "fuzz/seeds/seed_files.h"

namespace tavo::fuzz {

#ifndef TAVO_FUZZ_MISSION
std::vector<SeedFile> missionFileSeeds() {
    return {};
}
#endif

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
    if (target == "reader_image") {
        return readerImageSeeds();
    }
    if (target == "mission_file") {
        return missionFileSeeds();
    }
    return {};
}

} // namespace tavo::fuzz
