#pragma once
// The block data file (.bd1): ten 31-byte texture names, an int16 count, then count 316-byte
// block records, little-endian. The editor only reads it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/files/file_error.h"
#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/texture_report.h"

namespace tavo {

struct BlockFileContents {
    char textureNames[TextureCount][TextureNameSize] = {};
    bool hasHeader = false;          // names and count were complete
    int16_t declaredCount = 0;       // the count as stored
    std::vector<BlockRecord> blocks; // the complete records read, never more than MaxBlocks
};

BlockFileContents decodeBlockFile(std::span<const uint8_t> bytes);

// Loads a map: empties the blocks, reads the file, sets textureNames, blocks and blockDir, then
// loads the textures through state.textureLoader when there is one, giving what loadTextures
// found. A file that cannot be opened gives the reason, leaving the map empty; the command
// (edit/document.h) tells the author. A path without any '/' is in the working directory, and so
// are its textures (blockDir ".").
FileResult<std::vector<TextureFinding>> loadBlockFile(EditorState& state, const std::string& path);

// The directory part of a path: every byte before the last '/', or empty when there is none or
// it is the first byte. The result is NUL-terminated; a directory that does not fit is cut to
// fit and reported by the false result.
bool pathDirectory(const char* path, char (&directory)[BlockDirSize]);

// For each texture slot whose name resolves to an existing file, asks state.textureLoader for a
// texture and, when it gives one, puts it in the slot (releasing the old one). Slots whose file
// is missing or does not load keep what they held, and each is one finding, in slot order.
// Empty names are no finding.
std::vector<TextureFinding> loadTextures(EditorState& state);

// The file on this system that texture name `slot` names, relative to blockDir ('..' may lead
// out of it): the exact bytes with '\' as '/' first, then the name in UTF-8 with each component
// matched regardless of ASCII case, then the raw CP932 bytes the same way (an archive unpacked
// without converting names). nullopt for an empty name, a name without NUL, a path longer than
// the system takes, or no such file.
std::optional<std::string> resolveTexturePath(const EditorState& state, int slot);

} // namespace tavo
