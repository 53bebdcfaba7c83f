#include "missioneditor/mission_info.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "common/text/cp932.h"

namespace tavo::mission {
namespace {

constexpr std::string_view NoneLine = "!"; // an absent add-on object or second image
constexpr std::string_view LineEnd = "\r\n";
constexpr std::string_view Replacement = "\xEF\xBF\xBD"; // U+FFFD

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The longest start of bytes that fits in limit without splitting a double-byte character.
std::string_view cp932Prefix(std::string_view bytes, std::size_t limit) {
    std::size_t end = 0;
    while (end < bytes.size()) {
        const bool pair =
            isLeadByte(static_cast<unsigned char>(bytes[end])) && end + 1 < bytes.size();
        const std::size_t width = pair ? 2 : 1;
        if (end + width > limit) {
            break;
        }
        end += width;
    }
    return bytes.substr(0, end);
}

// CP932 to UTF-8 that never fails: each byte that does not convert becomes U+FFFD.
std::string decode(std::string_view bytes) {
    std::string text;
    while (!bytes.empty()) {
        const auto whole = cp932ToUtf8(bytes);
        if (whole) {
            text += *whole;
            break;
        }
        const std::size_t offset = whole.error().offset;
        const auto head = cp932ToUtf8(bytes.substr(0, offset));
        text += head ? *head : std::string(Replacement);
        text += Replacement;
        bytes.remove_prefix(std::min(offset + 1, bytes.size()));
    }
    return text;
}

// Hands out the file's lines whole, as a text-mode stream would: CR LF and a bare LF both end a
// line and neither is part of it.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : rest_(bytes) {}

    std::optional<std::string_view> next() {
        if (rest_.empty()) {
            return std::nullopt;
        }
        const std::size_t lf = rest_.find('\n');
        std::string_view line = rest_.substr(0, lf);
        rest_.remove_prefix(lf == std::string_view::npos ? rest_.size() : lf + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return line;
    }

    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
};

// The line's leading decimal integer as atoi reads it (leading white space, a sign, digits; 0 when
// there is none), held to the range of int instead of overflowing.
int leadingInteger(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || (line[i] >= '\t' && line[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (line[i] - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::string readText(LineReader& lines, Field field) {
    const auto line = lines.next();
    return line ? decode(cp932Prefix(*line, fieldLimit(field))) : std::string();
}

// An optional path: "!" (checked on its first character, as the game does) means none.
void readOptionalPath(LineReader& lines, Field field, bool& present, std::string& path) {
    const auto line = lines.next();
    present = line && !line->starts_with(NoneLine);
    path = present ? decode(cp932Prefix(*line, fieldLimit(field))) : std::string();
}

// The briefing is the rest of the file. A bare LF becomes CR LF, as the text edit shows lines,
// and the text is held to its limit before the line ends turn into "\n".
std::string readBriefing(std::string_view rest) {
    std::string crlf;
    crlf.reserve(rest.size());
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '\n' && (i == 0 || rest[i - 1] != '\r')) {
            crlf += '\r';
        }
        crlf += rest[i];
    }
    std::string_view kept = cp932Prefix(crlf, fieldLimit(Field::BriefingText));
    if (kept.ends_with('\r') && kept.size() < crlf.size() && crlf[kept.size()] == '\n') {
        kept.remove_suffix(1); // never keep half of a line end
    }
    // CR and LF are never the second byte of a CP932 pair, so this cannot split a character.
    std::string bytes;
    bytes.reserve(kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (!(kept[i] == '\r' && i + 1 < kept.size() && kept[i + 1] == '\n')) {
            bytes += kept[i];
        }
    }
    return decode(bytes);
}

struct Encoded {
    std::string bytes;
    std::optional<Problem> problem;
};

Encoded encode(Field field, std::string_view utf8) {
    auto bytes = utf8ToCp932(utf8);
    if (!bytes) {
        return {{}, Problem::NoCp932Form};
    }
    if (bytes->size() > fieldLimit(field)) {
        return {{}, Problem::TooLong};
    }
    return {std::move(*bytes), std::nullopt};
}

Encoded encodeLine(Field field, std::string_view utf8) {
    if (utf8.find_first_of("\r\n") != std::string_view::npos) {
        return {{}, Problem::LineEnd};
    }
    Encoded line = encode(field, utf8);
    if (!line.problem) {
        line.bytes += LineEnd;
    }
    return line;
}

Encoded encodeOptionalPath(Field field, bool present, std::string_view utf8) {
    if (!present) {
        return {std::string(NoneLine) + std::string(LineEnd), std::nullopt};
    }
    if (utf8.starts_with(NoneLine)) {
        return {{}, Problem::StartsWithNone};
    }
    return encodeLine(field, utf8);
}

Encoded encodeBriefing(std::string_view utf8) {
    std::string crlf;
    crlf.reserve(utf8.size());
    for (char c : utf8) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    return encode(Field::BriefingText, crlf);
}

} // namespace

std::size_t fieldLimit(Field field) {
    switch (field) {
    case Field::MissionName:
        return 31;
    case Field::FullName:
    case Field::BlockPath:
    case Field::PointPath:
        return 127;
    case Field::AddonObjectPath:
    case Field::Image1Path:
    case Field::Image2Path:
        return 255;
    case Field::BriefingText:
        return 798;
    case Field::SkyIndex:
    case Field::Flags:
        break;
    }
    return 0;
}

MissionInfo readMissionInfo(std::string_view bytes) {
    LineReader lines(bytes);
    MissionInfo info;
    info.missionName = readText(lines, Field::MissionName);
    info.fullName = readText(lines, Field::FullName);
    info.blockPath = readText(lines, Field::BlockPath);
    info.pointPath = readText(lines, Field::PointPath);
    info.skyIndex = leadingInteger(lines.next().value_or(""));
    info.flags = leadingInteger(lines.next().value_or(""));
    readOptionalPath(lines, Field::AddonObjectPath, info.hasAddonObject, info.addonObjectPath);
    info.image1Path = readText(lines, Field::Image1Path);
    readOptionalPath(lines, Field::Image2Path, info.hasImage2, info.image2Path);
    info.briefingText = readBriefing(lines.rest());
    return info;
}

Result<std::string, FieldProblem> writeMissionInfo(const MissionInfo& info) {
    const std::string sky = std::to_string(info.skyIndex) + std::string(LineEnd);
    const std::string flags = std::to_string(info.flags) + std::string(LineEnd);
    const std::pair<Field, Encoded> parts[] = {
        {Field::MissionName, encodeLine(Field::MissionName, info.missionName)},
        {Field::FullName, encodeLine(Field::FullName, info.fullName)},
        {Field::BlockPath, encodeLine(Field::BlockPath, info.blockPath)},
        {Field::PointPath, encodeLine(Field::PointPath, info.pointPath)},
        {Field::SkyIndex, {sky, std::nullopt}},
        {Field::Flags, {flags, std::nullopt}},
        {Field::AddonObjectPath,
         encodeOptionalPath(Field::AddonObjectPath, info.hasAddonObject, info.addonObjectPath)},
        {Field::Image1Path, encodeLine(Field::Image1Path, info.image1Path)},
        {Field::Image2Path, encodeOptionalPath(Field::Image2Path, info.hasImage2, info.image2Path)},
        {Field::BriefingText, encodeBriefing(info.briefingText)},
    };
    std::string bytes;
    for (const auto& [field, part] : parts) {
        if (part.problem) {
            return FieldProblem{field, *part.problem};
        }
        bytes += part.bytes;
    }
    return bytes;
}

std::optional<std::size_t> cp932Size(std::string_view utf8) {
    const auto bytes = utf8ToCp932(utf8);
    if (!bytes) {
        return std::nullopt;
    }
    return bytes->size();
}

} // namespace tavo::mission
