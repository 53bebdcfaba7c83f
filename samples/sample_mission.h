#pragma once
// The sample mission that ships with the editor, made from code so that it can be rebuilt and
// checked: a walled yard with crates, two ramps up to a platform, four textures (JPEG, PNG and
// BMP), and a point file with humans, weapons, patrol loops, a random branch and an event chain.

#include <QtGui/QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "common/result.h"
#include "pointeditor/data/records.h"

namespace tavo::sample {

struct SampleTexture {
    std::string fileName; // as named in the block file, beside it
    QImage image;
};

std::vector<SampleTexture> sampleTextures();
std::vector<BlockRecord> sampleBlocks();
std::vector<PointRecord> samplePoints();

// The .bd1 bytes: the texture names, the count, the records, little-endian.
std::vector<uint8_t> encodeBlockFile(const std::vector<std::string>& textureNames,
                                     const std::vector<BlockRecord>& blocks);

// Writes sample.bd1, sample.pd1 and the textures into `directory`, or says which file could not
// be written.
Result<void, std::string> writeSampleMission(const std::string& directory);

} // namespace tavo::sample
