#include "pointeditor/data/block_file.h"

#include <algorithm>
#include <cstring>

#include "common/files/file_read.h"
#include "pointeditor/data/byte_order.h"
#include "pointeditor/data/record_count.h"
#include "pointeditor/data/texture.h"
#include "pointeditor/data/texture_report.h"

namespace tavo {
namespace {

constexpr std::size_t NamesSize = std::size_t{TextureCount} * TextureNameSize; // 310
constexpr std::size_t HeaderSize = NamesSize + 2;                              // 312
constexpr std::size_t MaxFileBytes = HeaderSize + std::size_t{MaxBlocks} * BlockRecordSize;

BlockRecord readBlock(const uint8_t* p) {
    BlockRecord block;
    for (int c = 0; c < 8; ++c) {
        block.x[c] = bytes::getF32(p + 4 * c);
        block.y[c] = bytes::getF32(p + 32 + 4 * c);
        block.z[c] = bytes::getF32(p + 64 + 4 * c);
    }
    for (int f = 0; f < 6; ++f) {
        for (int k = 0; k < 4; ++k) {
            block.u[f][k] = bytes::getF32(p + 96 + 16 * f + 4 * k);
            block.v[f][k] = bytes::getF32(p + 192 + 16 * f + 4 * k);
        }
        block.textureId[f] = bytes::getI32(p + 288 + 4 * f);
    }
    block.inUse = bytes::getI32(p + 312);
    return block;
}

} // namespace

BlockFileContents decodeBlockFile(std::span<const uint8_t> bytes) {
    BlockFileContents contents;
    // Without the whole header the file names no texture and holds no block.
    if (bytes.size() < HeaderSize) {
        return contents;
    }
    contents.hasHeader = true;
    std::memcpy(contents.textureNames, bytes.data(), NamesSize);
    contents.declaredCount = bytes::getI16(bytes.data() + NamesSize);

    std::size_t count = recordsToRead(contents.declaredCount, MaxBlocks, bytes.size() - HeaderSize,
                                      BlockRecordSize);
    contents.blocks.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        contents.blocks.push_back(readBlock(bytes.data() + HeaderSize + i * BlockRecordSize));
    }
    return contents;
}

FileResult<std::vector<TextureFinding>> loadBlockFile(EditorState& state, const std::string& path) {
    // The map is emptied first, whatever follows: it is only ever read from its file, so even a
    // failed load loses nothing that the user made.
    for (auto& block : state.blocks) {
        block.inUse = 0;
    }
    const FileResult<FilePrefix> read = readFilePrefix(path, MaxFileBytes);
    if (!read) {
        return read.error();
    }
    BlockFileContents contents = decodeBlockFile(read->bytes);

    std::memcpy(state.textureNames, contents.textureNames, sizeof state.textureNames);
    std::copy(contents.blocks.begin(), contents.blocks.end(), state.blocks.begin());
    // A map named without any directory lies in the working directory, and so do its textures;
    // an empty blockDir would send them to the root. A directory too long for blockDir is kept
    // cut: every texture path composed from it is then too long too, so no texture is looked up
    // in the wrong place.
    if (path.find('/') == std::string::npos) {
        std::strcpy(state.blockDir, ".");
    } else {
        pathDirectory(path.c_str(), state.blockDir);
    }
    return loadTextures(state);
}

bool pathDirectory(const char* path, char (&directory)[BlockDirSize]) {
    directory[0] = '\0';
    const char* slash = std::strrchr(path, '/');
    if (slash == nullptr || slash == path) {
        return true;
    }
    auto length = static_cast<std::size_t>(slash - path);
    bool fits = length < BlockDirSize;
    length = std::min(length, std::size_t{BlockDirSize} - 1);
    std::memcpy(directory, path, length);
    directory[length] = '\0';
    return fits;
}

std::vector<TextureFinding> loadTextures(EditorState& state) {
    std::vector<TextureFinding> findings;
    if (state.textureLoader == nullptr) {
        return findings;
    }
    std::vector<int> slots;
    std::vector<std::string> files;
    for (int slot = 0; slot < TextureCount; ++slot) {
        const char* stored = state.textureNames[slot];
        std::string name(stored, strnlen(stored, TextureNameSize));
        if (name.empty()) {
            continue;
        }
        if (std::optional<std::string> file = resolveTexturePath(state, slot)) {
            slots.push_back(slot);
            files.push_back(std::move(*file));
        } else {
            findings.push_back({slot, std::move(name), TextureProblem::NotFound});
        }
    }
    // One call for the whole map: its textures share one budget and decode together.
    std::vector<LoadedTexture> loaded = state.textureLoader->loadTextures(files);
    for (std::size_t i = 0; i < loaded.size() && i < slots.size(); ++i) {
        auto slot = static_cast<std::size_t>(slots[i]);
        // A texture that does not load leaves the slot with what it had, the last map's
        // texture included.
        if (loaded[i].texture) {
            state.textures[slot] = std::move(loaded[i].texture);
        } else {
            const char* stored = state.textureNames[slot];
            findings.push_back({slots[i], std::string(stored, strnlen(stored, TextureNameSize)),
                                loaded[i].problem});
        }
    }
    std::sort(findings.begin(), findings.end(),
              [](const TextureFinding& a, const TextureFinding& b) { return a.slot < b.slot; });
    return findings;
}

} // namespace tavo
