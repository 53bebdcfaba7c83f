#pragma once
// The block data file (.bd1): ten 31-byte texture names, an int16 count, then count 316-byte
// block records, little-endian. The editor only reads it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "pointeditor/data/editor_state.h"

namespace tavo {

struct BlockFileContents {
    char textureNames[TextureCount][TextureNameSize] = {};
    bool hasHeader = false;          // names and count were complete
    int16_t declaredCount = 0;       // the count as stored
    std::vector<BlockRecord> blocks; // the complete records read, never more than MaxBlocks
};

BlockFileContents decodeBlockFile(std::span<const uint8_t> bytes);

// Loads a map: empties the blocks, reads the file, sets textureNames, blocks and blockDir, then
// loads the textures through state.textureLoader when there is one. A file that cannot be
// opened shows "file open error" (caption "error") and returns false, leaving the map empty.
// A path without any '/' is in the working directory, and so are its textures (blockDir ".").
bool loadBlockFile(EditorState& state, const std::string& path);

// The directory part of a path: every byte before the last '/', or empty when there is none or
// it is the first byte. The result is NUL-terminated; a directory that does not fit is cut to
// fit and reported by the false result.
bool pathDirectory(const char* path, char (&directory)[BlockDirSize]);

// For each texture slot whose name resolves to an existing file, asks state.textureLoader for a
// texture and, when it gives one, puts it in the slot (releasing the old one). Slots whose file
// is missing or does not load keep what they held.
void loadTextures(EditorState& state);

// The file on this system that texture name `slot` names, relative to blockDir: CP932 to UTF-8,
// '\' to '/', and when the exact path does not exist each component matched regardless of ASCII
// case. nullopt for an empty name, a name without NUL, an unconvertible name or no such file.
std::optional<std::string> resolveTexturePath(const EditorState& state, int slot);

} // namespace tavo
