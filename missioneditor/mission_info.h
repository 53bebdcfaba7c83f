#pragma once
// The mission information file (.mif): everything about one mission that is not its map or its
// points. On disk it is CP932 text with CR LF line ends: nine one-line fields, then the briefing
// text as the rest of the file. MissionInfo holds the same fields as UTF-8, so the reader and
// writer below are the only places that know the file's bytes.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/result.h"

namespace tavo::mission {

inline constexpr int SkyCount =
    6; // 0 black, 1 sunny, 2 cloudy, 3 night, 4 early evening, 5 waste land
inline constexpr int ExtraCollisionFlag = 1;
inline constexpr int DarkScreenFlag = 2;

struct MissionInfo {
    std::string missionName; // the mission's identifier
    std::string fullName;    // the name shown to the player
    std::string blockPath;   // paths stay exactly as typed: the game's own ".\data\..." form
    std::string pointPath;
    int skyIndex = 0; // a value outside 0..5 read from a file is kept and written back
    int flags = 0;    // bits beyond the two known ones are kept and written back
    bool hasAddonObject = false;
    std::string addonObjectPath;
    std::string image1Path;
    bool hasImage2 = false;
    std::string image2Path;
    std::string briefingText; // lines separated by "\n"; the file separates them by CR LF

    bool operator==(const MissionInfo&) const = default;
};

// The fields in file order.
enum class Field {
    MissionName,
    FullName,
    BlockPath,
    PointPath,
    SkyIndex,
    Flags,
    AddonObjectPath,
    Image1Path,
    Image2Path,
    BriefingText,
};

// The longest text a field holds, in CP932 bytes without its line end. The briefing counts the
// CR LF between its lines. The numeric fields have no limit (0).
std::size_t fieldLimit(Field field);

enum class Problem {
    NoCp932Form,    // a character that CP932 cannot store
    TooLong,        // more bytes than fieldLimit
    LineEnd,        // a line end in a one-line field
    StartsWithNone, // an add-on or second-image path beginning with "!", which reads back as none
};

struct FieldProblem {
    Field field;
    Problem problem;
    bool operator==(const FieldProblem&) const = default;
};

// Reads a whole file. It cannot fail: what the file lacks reads as empty (sky 0, flags 0, no add-on
// object, no second image); a line longer than its field keeps its first fieldLimit bytes, cut
// between characters; bytes that are not CP932 read as U+FFFD, which the writer then refuses, so
// they are never silently replaced on disk.
MissionInfo readMissionInfo(std::string_view bytes);

// Writes a whole file, or refuses with the first field, in file order, that cannot be written,
// instead of truncating or replacing text.
Result<std::string, FieldProblem> writeMissionInfo(const MissionInfo& info);

// The CP932 size of a text, nullopt when some character has no CP932 form.
std::optional<std::size_t> cp932Size(std::string_view utf8);

} // namespace tavo::mission
