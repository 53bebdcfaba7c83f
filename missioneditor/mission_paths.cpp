#include "missioneditor/mission_paths.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "common/files/printable.h"

namespace tavo::mission {
namespace {

// The labels of the dialog, by field.
struct FieldNames {
    Field field;
    const char* english;
    const char* japanese;
};

constexpr std::array<FieldNames, FieldCount> FieldLabels = {{
    {Field::MissionName, "mission title", "ミッション識別名"},
    {Field::FullName, "mission fullname", "ミッション正式名称"},
    {Field::BlockPath, "pathname of block", "ブロックのパス名"},
    {Field::PointPath, "pathname of point", "ポイントのパス名"},
    {Field::SkyIndex, "sky image", "空"},
    {Field::Flags, "flags", "フラグ"},
    {Field::AddonObjectPath, "pathname of obj", "追加小物のパス名"},
    {Field::Image1Path, "pathname of image1", "画像1のパス名"},
    {Field::Image2Path, "pathname of image2", "画像2のパス名"},
    {Field::BriefingText, "briefing text", "ブリーフィング文章"},
}};

// U+00A5: a Japanese font draws the backslash's byte as the yen sign, and an author who typed
// what he saw typed this.
constexpr std::string_view YenSign = "\xC2\xA5";

// The folder as findIgnoringCase takes it: the root as empty.
std::string lookupFolder(const std::string& folder) {
    return folder == "/" ? std::string() : folder;
}

} // namespace

std::string fieldName(Field field, bool english) {
    const FieldNames& names = FieldLabels[static_cast<std::size_t>(field)];
    return english ? names.english : names.japanese;
}

std::optional<std::string> relativeGamePath(std::string_view typed) {
    std::string path;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed.substr(i).starts_with(YenSign)) {
            path += '/';
            i += YenSign.size() - 1;
        } else {
            path += typed[i] == '\\' ? '/' : typed[i];
        }
    }
    const bool drive = path.size() >= 2 && path[1] == ':';
    if (path.empty() || path.front() == '/' || drive) {
        return std::nullopt;
    }
    // ".\data\map" and "data\\map" are both data/map: the parts that name no folder go.
    std::string relative;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part = std::string_view(path).substr(start, end - start);
        if (!part.empty() && part != ".") {
            relative += (relative.empty() ? "" : "/") + std::string(part);
        }
        start = end + 1;
    }
    return relative;
}

Result<FoundPath, PathProblem> findGameFile(const std::string& root, std::string_view typed) {
    if (typed.empty()) {
        return PathProblem::Empty;
    }
    const std::optional<std::string> relative = relativeGamePath(typed);
    if (!relative) {
        return PathProblem::Absolute;
    }
    if (auto found = findIgnoringCase(lookupFolder(root), *relative)) {
        return *found;
    }
    return PathProblem::NotFound;
}

std::optional<std::string> findGameRoot(const std::string& start, std::string_view mapPath) {
    std::filesystem::path folder = std::filesystem::path(start).lexically_normal();
    while (true) {
        if (findGameFile(folder.string(), mapPath)) {
            return folder.string();
        }
        if (!folder.has_relative_path()) {
            return std::nullopt; // the root itself was the last to try
        }
        folder = folder.parent_path();
    }
}

std::string startFolder(const std::string& path) {
    std::error_code ignored; // a working directory that is gone leaves the path as it is
    const std::filesystem::path absolute =
        std::filesystem::absolute(path.empty() ? "." : path, ignored);
    const std::filesystem::path folder =
        path.empty() ? absolute.lexically_normal() : absolute.lexically_normal().parent_path();
    std::string text = folder.string();
    if (text.size() > 1 && text.ends_with('/')) {
        text.pop_back();
    }
    return text;
}

std::string describePathProblem(const UnresolvedPath& unresolved, bool english) {
    const std::string& typed = unresolved.typed;
    switch (unresolved.problem) {
    case PathProblem::Empty:
        return english ? "nothing is typed" : "何も入力されていません";
    case PathProblem::Absolute:
        return english
                   ? typed + " is an absolute path; the game names its files from its folder"
                   : typed + " は絶対パスです。ゲームはファイルを自分のフォルダーから指定します";
    case PathProblem::NotFound:
        break;
    }
    if (unresolved.searched) {
        return english ? typed + " leads to no file under " + unresolved.root +
                             " or any folder above it"
                       : typed + " のファイルが " + unresolved.root +
                             " にもその上のどのフォルダーにもありません";
    }
    return english ? typed + " leads to no file under " + unresolved.root
                   : typed + " のファイルが " + unresolved.root + " にありません";
}

std::string describeUnresolved(const UnresolvedPath& unresolved, bool english) {
    return fieldName(unresolved.field, english) + ": " + describePathProblem(unresolved, english);
}

Result<MissionFiles, UnresolvedPath> resolveMissionFiles(const MissionInfo& info,
                                                         const std::string& start,
                                                         const std::optional<std::string>& root) {
    const std::optional<std::string> folder = root ? root : findGameRoot(start, info.blockPath);
    const std::string base = folder.value_or(start);
    MissionFiles files{base, {}, {}};
    const std::pair<Field, std::string*> wanted[] = {{Field::BlockPath, &files.mapPath},
                                                     {Field::PointPath, &files.pointPath}};
    for (const auto& [field, into] : wanted) {
        const std::string& typed = *fieldText(info, field);
        auto found = findGameFile(base, typed);
        if (!found) {
            return UnresolvedPath{field, printable(typed), found.error(), printable(base), !folder};
        }
        *into = found->path;
    }
    return files;
}

} // namespace tavo::mission
