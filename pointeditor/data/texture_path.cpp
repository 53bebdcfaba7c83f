// Finding a map's texture image on this system. The names come from Windows: CP932 bytes, '\'
// between directories, in whatever case the map's author typed (caseless_path.h finds them).

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "common/files/caseless_path.h"
#include "common/text/cp932.h"
#include "pointeditor/data/block_file.h"

namespace tavo {

std::optional<std::string> resolveTexturePath(const EditorState& state, int slot) {
    if (slot < 0 || slot >= TextureCount) {
        return std::nullopt;
    }
    const char* stored = state.textureNames[slot];
    const void* nul = std::memchr(stored, '\0', TextureNameSize);
    const void* dirNul = std::memchr(state.blockDir, '\0', BlockDirSize);
    if (nul == nullptr || dirNul == nullptr || stored[0] == '\0') {
        return std::nullopt;
    }
    std::string_view name(stored, static_cast<std::size_t>(static_cast<const char*>(nul) - stored));

    // Convert before touching separators: the second byte of a CP932 character may be 0x5C.
    auto relative = cp932ToUtf8(name);
    if (!relative) {
        return std::nullopt;
    }
    std::replace(relative->begin(), relative->end(), '\\', '/');
    if (auto found = findIgnoringCase(state.blockDir, *relative)) {
        return std::move(found->path);
    }
    return std::nullopt;
}

} // namespace tavo
