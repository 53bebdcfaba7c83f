#pragma once
// Valid files of every kind the readers take, small and large, made by this repository's own
// writers (and, for the formats the programs only read, by the encoders below). They seed the
// fuzz targets and are replayed by the tests.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pointeditor/data/records.h"

namespace tavo::fuzz {

struct SeedFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

std::vector<SeedFile> pointFileSeeds();
std::vector<SeedFile> blockFileSeeds();
std::vector<SeedFile> jpegImageSeeds();
std::vector<SeedFile> pngImageSeeds();
std::vector<SeedFile> readerImageSeeds(); // BMP in several depths, GIF, ICO, the PNM family, XPM
std::vector<SeedFile> missionFileSeeds(); // empty when the mission file reader is not built
std::vector<SeedFile> mapFrameSeeds();    // point and block seeds in the frame target's form
std::vector<SeedFile> fileAccessSeeds();  // one of each kind of path
std::vector<SeedFile> pointTextSeeds();   // texts pointtool dump writes, and broken ones
// The editor's own use, event by event: views, selection, keys, menu, files.
std::vector<SeedFile> eventSequenceSeeds();

// The seeds of the fuzz target `target` (a name of readerChecks()).
std::vector<SeedFile> seedsFor(std::string_view target);

// A .bd1 as the map tool writes it: the ten names (each cut to 30 bytes and NUL-padded), the
// count as given, then the records.
std::vector<uint8_t> encodeBlockFile(std::span<const std::string> textureNames, int16_t count,
                                     std::span<const BlockRecord> blocks);
void appendBlockRecord(std::vector<uint8_t>& out, const BlockRecord& block);

// Images of a fixed pattern: ARGB pixels, rows top first.
std::vector<uint32_t> patternPixels(int width, int height);
std::vector<uint8_t> encodeJpeg(int width, int height, bool grey, bool progressive, int quality);
std::vector<uint8_t> encodePng(int width, int height, uint32_t pngFormat);
std::vector<uint8_t> encodeBmp(int width, int height, int bitsPerPixel); // 1, 8, 24 or 32
std::vector<uint8_t> encodeGif(int width, int height);

} // namespace tavo::fuzz
