#pragma once
// Valid files of every kind the readers take, small and large, made by this repository's own
// writers (and, for the formats the programs only read, by the test image writers and Qt's).
// They seed the fuzz targets and are replayed by the tests.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavo::fuzz {

struct SeedFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

std::vector<SeedFile> pointFileSeeds();
std::vector<SeedFile> blockFileSeeds();
std::vector<SeedFile> jpegImageSeeds();
std::vector<SeedFile> pngImageSeeds();
std::vector<SeedFile> readerImageSeeds(); // BMP in several depths, GIF, ICO, the PNM family, TGA
std::vector<SeedFile> missionFileSeeds();
std::vector<SeedFile> fileAccessSeeds(); // one of each kind of path
std::vector<SeedFile> pointTextSeeds();  // texts pointtool dump writes, and broken ones
// The editor's own use, event by event: views, selection, keys, menu, files.
std::vector<SeedFile> eventSequenceSeeds();

// The seeds of the fuzz target `target` (a name of readerChecks()).
std::vector<SeedFile> seedsFor(std::string_view target);

} // namespace tavo::fuzz
