#pragma once
// The mission information file (.mif): everything about one mission that is not its map or its
// points. On disk it is CP932 text with CR LF line ends: nine one-line fields, then the briefing
// text as the rest of the file. MissionInfo holds the same fields as UTF-8, so the reader and
// writer below are the only places that know the file's bytes.

#include <array>
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

inline constexpr std::size_t FieldCount = 10;

// One text field as read: the bytes kept for it and what reading had to do to them so that the
// field can show them and the file can hold them again.
struct FieldRead {
    // The file's bytes less what was cut or removed; the briefing with CR LF between its lines.
    std::string bytes;
    std::size_t sizeInFile = 0; // the field's length in the file when it was cut
    bool cut = false;           // longer than fieldLimit: its first bytes, cut between characters
    int carriageReturns = 0;    // CRs removed: inside a line, or not followed by LF in the briefing
    int replaced = 0;           // bytes that are not CP932, shown as U+FFFD

    bool changed() const { return cut || carriageReturns > 0 || replaced > 0; }
    bool operator==(const FieldRead&) const = default;
};

struct MissionRead {
    MissionInfo info;
    // By Field. The numeric fields, and an optional path the file marks as none, stay empty.
    std::array<FieldRead, FieldCount> fields;

    const FieldRead& field(Field f) const { return fields[static_cast<std::size_t>(f)]; }
    bool changed() const;
};

// Reads a whole file. It cannot fail: what the file lacks reads as empty (sky 0, flags 0, no add-on
// object, no second image); a line longer than its field keeps its first fieldLimit bytes, cut
// between characters; a CR is removed where it cannot be part of a line end; bytes that are not
// CP932 read as U+FFFD. Each field reports what was done to it.
MissionRead readMissionFile(std::string_view bytes);
MissionInfo readMissionInfo(std::string_view bytes); // readMissionFile(bytes).info

// Writes a whole file, or refuses with the first field, in file order, that cannot be written,
// instead of truncating or replacing text. With `loaded`, a text field that still shows what the
// read gave it is written with the bytes the read kept for it, so a field nobody edited goes
// back as it came, bytes that are not CP932 included; other fields are encoded from their text.
Result<std::string, FieldProblem> writeMissionInfo(const MissionInfo& info,
                                                   const MissionRead* loaded = nullptr);

// The text of a text field of `info`; nullptr for the numeric fields.
const std::string* fieldText(const MissionInfo& info, Field field);

// The CP932 size of a text, nullopt when some character has no CP932 form.
std::optional<std::size_t> cp932Size(std::string_view utf8);

} // namespace tavo::mission
