#pragma once
// Finding a file named on Windows on this file system. Windows did not mind in which case a map's
// author or a mission's typed a name, and this file system does; an archive unpacked without
// converting names may also carry a name in its raw CP932 bytes. The point editor finds a map's
// textures this way, and the mission check every path a mission names.
//
// The search is bounded whatever the folder holds: each directory is listed at most once per
// lookup, a directory is entered at most once for each depth of the name (links that lead back
// to one directory in many spellings add nothing), and it gives up after a fixed number of
// candidates.

#include <optional>
#include <string>

namespace tavo {

struct FoundPath {
    std::string path;       // the file as this system names it
    bool exactCase = false; // found under the very bytes given, no case or encoding ignored
    bool operator==(const FoundPath&) const = default;
};

// The regular file `relative` (UTF-8, '/' between its parts, "." parts skipped, ".." leading
// out) names below `directory` (empty: the root): the exact bytes first, then each part matched
// regardless of ASCII case, then parts whose raw CP932 name converts to it. nullopt when there
// is no such file or the path is longer than the system takes.
std::optional<FoundPath> findIgnoringCase(const std::string& directory,
                                          const std::string& relative);

} // namespace tavo
