#pragma once
// The files a mission names, found as the game finds them: each path is typed from the game's
// folder (".\data\map\city.bd1"), with '\' between its parts (shown as ¥ in Japanese fonts), in
// whatever case the author typed. Which folder is the game's is told by the mission's map: the
// nearest folder, from the mission file's own upwards, from which the map's path leads to a file.
// Case and raw CP932 names are matched as the point editor matches a map's textures
// (caseless_path.h).

#include <optional>
#include <string>
#include <string_view>

#include "common/files/caseless_path.h"
#include "common/result.h"
#include "missioneditor/mission_info.h"

namespace tavo::mission {

// The field's label as the dialog shows it, in English or in Japanese.
std::string fieldName(Field field, bool english);

// Why a path the mission names leads to no file here.
enum class PathProblem {
    Empty,    // nothing typed
    Absolute, // "C:\..." or "\...": a place on the author's machine, not under the game's folder
    NotFound, // no such file under the root, not even ignoring case
};

// `typed` as a path below the game's folder: '/' between its parts; nullopt for an empty or an
// absolute one (see pathProblem).
std::optional<std::string> relativeGamePath(std::string_view typed);

// The file `typed` names under `root`, or why there is none.
Result<FoundPath, PathProblem> findGameFile(const std::string& root, std::string_view typed);

// The game's folder for a mission whose file lies in `start`: the nearest folder from `start`
// upwards (`start` itself first) from which `mapPath` leads to a file; nullopt when none does.
std::optional<std::string> findGameRoot(const std::string& start, std::string_view mapPath);

// The folder of a file named by `path` (bytes, as the system names it), made absolute from the
// working directory; the working directory itself for an empty path.
std::string startFolder(const std::string& path);

// The mission's map and points as files on this system.
struct MissionFiles {
    std::string root;
    std::string mapPath;
    std::string pointPath;
};

// A path of the mission that leads to no file.
struct UnresolvedPath {
    Field field = Field::BlockPath;
    std::string typed;
    PathProblem problem = PathProblem::NotFound;
    std::string root;      // where it was looked for
    bool searched = false; // no root was given, and none from the start upwards held the map
};

// ".\data\map\x.bd1 leads to no file under /games/tavo or any folder above it", in English or
// in Japanese; describeUnresolved puts the field's name and ": " before it.
std::string describePathProblem(const UnresolvedPath& unresolved, bool english);
std::string describeUnresolved(const UnresolvedPath& unresolved, bool english);

// The map and points of `info`, found under `root` when one is given, else under the root found
// from `start`; the first of the two that leads to no file says why.
Result<MissionFiles, UnresolvedPath> resolveMissionFiles(const MissionInfo& info,
                                                         const std::string& start,
                                                         const std::optional<std::string>& root);

} // namespace tavo::mission
