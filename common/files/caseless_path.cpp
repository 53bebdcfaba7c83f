#include "common/files/caseless_path.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "common/text/cp932.h"

namespace tavo {
namespace {

// The longest path the system opens, its terminating NUL left out.
constexpr std::size_t MaxPathLength = PATH_MAX - 1;
// Far more spellings than any real map folder holds for one name.
constexpr int MaxCandidates = 256;

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::string join(const std::string& directory, const std::string& name) {
    return directory == "/" ? "/" + name : directory + "/" + name;
}

std::vector<std::string> splitPath(const std::string& relative) {
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = std::min(relative.find('/', start), relative.size());
        std::string component = relative.substr(start, end - start);
        if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        start = end + 1;
    }
    return components;
}

class Lookup {
public:
    explicit Lookup(std::vector<std::string> components) : components_(std::move(components)) {}

    std::optional<std::string> from(const std::string& directory, std::size_t depth) {
        if (depth == components_.size()) {
            return directory;
        }
        struct stat info {};
        if (::stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            !entered_.insert({info.st_dev, info.st_ino, depth}).second) {
            return std::nullopt;
        }
        bool last = depth + 1 == components_.size();
        for (const std::string& entry : candidates(directory, info, components_[depth])) {
            if (++tried_ > MaxCandidates) {
                return std::nullopt;
            }
            std::string path = join(directory, entry);
            if (last && isRegularFile(path)) {
                return path;
            }
            if (!last) {
                if (std::optional<std::string> found = from(path, depth + 1)) {
                    return found;
                }
            }
        }
        return std::nullopt;
    }

private:
    using DirectoryId = std::pair<dev_t, ino_t>;

    // The entries `component` may mean: itself first, then those that differ from it only in
    // ASCII case, then those whose raw CP932 name converts to it (again regardless of case);
    // each group in byte order, so that the choice does not depend on the order in which the
    // file system lists them.
    std::vector<std::string> candidates(const std::string& directory, const struct stat& info,
                                        const std::string& component) {
        std::vector<std::string> found{component};
        std::vector<std::string> raw;
        for (const std::string& name : list(directory, info)) {
            if (name == component) {
                continue;
            }
            if (equalIgnoringAsciiCase(name, component)) {
                found.push_back(name);
            } else if (auto converted = cp932ToUtf8(name);
                       converted && equalIgnoringAsciiCase(*converted, component)) {
                raw.push_back(name);
            }
        }
        std::sort(found.begin() + 1, found.end());
        std::sort(raw.begin(), raw.end());
        found.insert(found.end(), raw.begin(), raw.end());
        return found;
    }

    const std::vector<std::string>& list(const std::string& directory, const struct stat& info) {
        auto [at, fresh] = listings_.try_emplace({info.st_dev, info.st_ino});
        if (fresh) {
            std::error_code error;
            std::filesystem::directory_iterator entries(directory, error);
            for (; !error && entries != std::filesystem::directory_iterator();
                 entries.increment(error)) {
                at->second.push_back(entries->path().filename().string());
            }
        }
        return at->second;
    }

    std::vector<std::string> components_;
    std::map<DirectoryId, std::vector<std::string>> listings_;
    std::set<std::tuple<dev_t, ino_t, std::size_t>> entered_;
    int tried_ = 0;
};

} // namespace

std::optional<FoundPath> findIgnoringCase(const std::string& directory,
                                          const std::string& relative) {
    // An empty directory means the root, as "\name" did on the map's drive.
    const std::string exact = directory + "/" + relative;
    if (exact.size() > MaxPathLength) {
        return std::nullopt;
    }
    if (isRegularFile(exact)) {
        return FoundPath{exact, true};
    }
    std::vector<std::string> components = splitPath(relative);
    if (components.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> found =
        Lookup(std::move(components)).from(directory.empty() ? "/" : directory, 0);
    if (!found) {
        return std::nullopt;
    }
    return FoundPath{*found, false};
}

} // namespace tavo
