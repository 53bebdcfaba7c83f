// Finding a map's texture image on this system. The names come from Windows: CP932 bytes, '\'
// between directories, and written in whatever case the map's author typed, which Windows did
// not mind and this file system does.

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

#include "common/text/cp932.h"
#include "pointeditor/data/block_file.h"

namespace tavo {
namespace {

// Windows opened "directory\name" from a buffer of this many characters, so no working map
// needs a longer path; and one composed from a blockDir that was cut to fit is always longer.
constexpr std::size_t kMaxTexturePath = 255;

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string join(const std::string& directory, const std::string& name) {
    return directory == "/" ? "/" + name : directory + "/" + name;
}

// The entries of `directory` that `component` may mean: itself first when it exists, then those
// that differ from it only in ASCII case, in byte order so that the choice does not depend on
// the order in which the file system lists them. Only files for the last component, only
// directories before it.
std::vector<std::string> candidates(const std::string& directory, const std::string& component,
                                    bool last) {
    auto fits = [last](const std::string& path) {
        return last ? isRegularFile(path) : isDirectory(path);
    };
    std::vector<std::string> found;
    if (fits(join(directory, component))) {
        found.push_back(component);
    }
    const auto others = static_cast<std::ptrdiff_t>(found.size());
    std::error_code error;
    std::filesystem::directory_iterator entries(directory, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::string name = entries->path().filename().string();
        if (name != component && equalIgnoringAsciiCase(name, component) &&
            fits(join(directory, name))) {
            found.push_back(name);
        }
    }
    std::sort(found.begin() + others, found.end());
    return found;
}

// Walks the components from `directory`, trying every spelling of each that exists: on the
// map's Windows system "deep" and "Deep" were one directory, here they may be two, and only one
// of them holds the rest of the path.
std::optional<std::string> matchFrom(const std::string& directory,
                                     std::span<const std::string> components) {
    if (components.empty()) {
        return directory;
    }
    bool last = components.size() == 1;
    for (const std::string& entry : candidates(directory, components.front(), last)) {
        if (auto path = matchFrom(join(directory, entry), components.subspan(1))) {
            return path;
        }
    }
    return std::nullopt;
}

std::optional<std::string> matchIgnoringCase(const std::string& directory,
                                             const std::string& relative) {
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find('/', start);
        if (end == std::string::npos) {
            end = relative.size();
        }
        std::string component = relative.substr(start, end - start);
        if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        start = end + 1;
    }
    if (components.empty()) {
        return std::nullopt;
    }
    return matchFrom(directory.empty() ? "/" : directory, components);
}

} // namespace

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
    std::string directory(state.blockDir);
    if (directory.size() + 1 + name.size() > kMaxTexturePath) {
        return std::nullopt;
    }

    // Convert before touching separators: the second byte of a CP932 character may be 0x5C.
    std::optional<std::string> relative = cp932ToUtf8(name);
    if (!relative) {
        return std::nullopt;
    }
    std::replace(relative->begin(), relative->end(), '\\', '/');

    // An empty blockDir means the map lay at the root, as "\name" did on the map's drive.
    std::string exact = directory + "/" + *relative;
    if (isRegularFile(exact)) {
        return exact;
    }
    return matchIgnoringCase(directory, *relative);
}

} // namespace tavo
