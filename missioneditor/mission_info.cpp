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

// CP932 to UTF-8 that never fails: each byte that does not convert becomes U+FFFD, counted in
// `replaced`.
std::string decode(std::string_view bytes, int& replaced) {
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
        ++replaced;
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

FieldRead& report(MissionRead& read, Field field) {
    return read.fields[static_cast<std::size_t>(field)];
}

// A one-line field: a CR left inside the line goes (the edit would show it as nothing and the
// writer refuse it), then the line is held to its limit.
std::string readLine(std::string_view line, Field field, FieldRead& read) {
    std::string bytes;
    for (char c : line) {
        if (c == '\r') {
            ++read.carriageReturns;
        } else {
            bytes += c;
        }
    }
    const std::string_view kept = cp932Prefix(bytes, fieldLimit(field));
    if (kept.size() < bytes.size()) {
        read.cut = true;
        read.sizeInFile = line.size();
    }
    read.bytes = kept;
    return decode(read.bytes, read.replaced);
}

std::string readText(LineReader& lines, MissionRead& read, Field field) {
    const auto line = lines.next();
    return line ? readLine(*line, field, report(read, field)) : std::string();
}

// An optional path: "!" (checked on its first character, as the game does) means none.
void readOptionalPath(LineReader& lines, MissionRead& read, Field field, bool& present,
                      std::string& path) {
    const auto line = lines.next();
    present = line && !line->starts_with(NoneLine);
    path = present ? readLine(*line, field, report(read, field)) : std::string();
}

// The briefing is the rest of the file. Its lines are held with CR LF between them, as the text
// edit shows lines: a bare LF becomes CR LF, a CR that ends no line goes. The text is held to its
// limit before the line ends turn into "\n".
std::string readBriefing(std::string_view rest, FieldRead& read) {
    std::string crlf;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '\r' && (i + 1 == rest.size() || rest[i + 1] != '\n')) {
            ++read.carriageReturns;
            continue;
        }
        if (rest[i] == '\n' && (i == 0 || rest[i - 1] != '\r')) {
            crlf += '\r';
        }
        crlf += rest[i];
    }
    std::string_view kept = cp932Prefix(crlf, fieldLimit(Field::BriefingText));
    if (kept.ends_with('\r') && kept.size() < crlf.size() && crlf[kept.size()] == '\n') {
        kept.remove_suffix(1); // never keep half of a line end
    }
    if (kept.size() < crlf.size()) {
        read.cut = true;
        read.sizeInFile = rest.size();
    }
    read.bytes = kept;
    // Every CR left is the first half of a CR LF; CR and LF are never the second byte of a CP932
    // pair, so dropping them cannot split a character.
    std::string bytes;
    bytes.reserve(kept.size());
    for (char c : kept) {
        if (c != '\r') {
            bytes += c;
        }
    }
    return decode(bytes, read.replaced);
}

struct Encoded {
    std::string bytes;
    std::optional<Problem> problem;
};

// Encodes a text field anew, or takes the bytes a read kept for it while it shows what that read
// gave it.
class FieldEncoder {
public:
    FieldEncoder(const MissionInfo& info, const MissionRead* loaded)
        : info_(info), loaded_(loaded) {}

    Encoded text(Field field) const {
        const std::string& utf8 = *fieldText(info_, field);
        if (loaded_ != nullptr && *fieldText(loaded_->info, field) == utf8) {
            return {loaded_->field(field).bytes, std::nullopt};
        }
        if (field == Field::BriefingText) {
            return encode(field, toCrLf(utf8));
        }
        if (utf8.find_first_of("\r\n") != std::string_view::npos) {
            return {{}, Problem::LineEnd};
        }
        return encode(field, utf8);
    }

    Encoded line(Field field) const {
        Encoded line = text(field);
        if (!line.problem) {
            line.bytes += LineEnd;
        }
        return line;
    }

    Encoded optionalPath(Field field, bool present) const {
        if (!present) {
            return {std::string(NoneLine) + std::string(LineEnd), std::nullopt};
        }
        if (fieldText(info_, field)->starts_with(NoneLine)) {
            return {{}, Problem::StartsWithNone};
        }
        return line(field);
    }

private:
    static Encoded encode(Field field, std::string_view utf8) {
        auto bytes = utf8ToCp932(utf8);
        if (!bytes) {
            return {{}, Problem::NoCp932Form};
        }
        if (bytes->size() > fieldLimit(field)) {
            return {{}, Problem::TooLong};
        }
        return {std::move(*bytes), std::nullopt};
    }

    static std::string toCrLf(std::string_view utf8) {
        std::string crlf;
        crlf.reserve(utf8.size());
        for (char c : utf8) {
            if (c == '\n') {
                crlf += '\r';
            }
            crlf += c;
        }
        return crlf;
    }

    const MissionInfo& info_;
    const MissionRead* loaded_;
};

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

bool MissionRead::changed() const {
    return std::any_of(fields.begin(), fields.end(),
                       [](const FieldRead& field) { return field.changed(); });
}

const std::string* fieldText(const MissionInfo& info, Field field) {
    switch (field) {
    case Field::MissionName:
        return &info.missionName;
    case Field::FullName:
        return &info.fullName;
    case Field::BlockPath:
        return &info.blockPath;
    case Field::PointPath:
        return &info.pointPath;
    case Field::AddonObjectPath:
        return &info.addonObjectPath;
    case Field::Image1Path:
        return &info.image1Path;
    case Field::Image2Path:
        return &info.image2Path;
    case Field::BriefingText:
        return &info.briefingText;
    case Field::SkyIndex:
    case Field::Flags:
        break;
    }
    return nullptr;
}

MissionRead readMissionFile(std::string_view bytes) {
    LineReader lines(bytes);
    MissionRead read;
    MissionInfo& info = read.info;
    info.missionName = readText(lines, read, Field::MissionName);
    info.fullName = readText(lines, read, Field::FullName);
    info.blockPath = readText(lines, read, Field::BlockPath);
    info.pointPath = readText(lines, read, Field::PointPath);
    info.skyIndex = leadingInteger(lines.next().value_or(""));
    info.flags = leadingInteger(lines.next().value_or(""));
    readOptionalPath(lines, read, Field::AddonObjectPath, info.hasAddonObject,
                     info.addonObjectPath);
    info.image1Path = readText(lines, read, Field::Image1Path);
    readOptionalPath(lines, read, Field::Image2Path, info.hasImage2, info.image2Path);
    info.briefingText = readBriefing(lines.rest(), report(read, Field::BriefingText));
    return read;
}

MissionInfo readMissionInfo(std::string_view bytes) {
    return readMissionFile(bytes).info;
}

Result<std::string, FieldProblem> writeMissionInfo(const MissionInfo& info,
                                                   const MissionRead* loaded) {
    const FieldEncoder encoder(info, loaded);
    const std::string sky = std::to_string(info.skyIndex) + std::string(LineEnd);
    const std::string flags = std::to_string(info.flags) + std::string(LineEnd);
    const std::pair<Field, Encoded> parts[] = {
        {Field::MissionName, encoder.line(Field::MissionName)},
        {Field::FullName, encoder.line(Field::FullName)},
        {Field::BlockPath, encoder.line(Field::BlockPath)},
        {Field::PointPath, encoder.line(Field::PointPath)},
        {Field::SkyIndex, {sky, std::nullopt}},
        {Field::Flags, {flags, std::nullopt}},
        {Field::AddonObjectPath, encoder.optionalPath(Field::AddonObjectPath, info.hasAddonObject)},
        {Field::Image1Path, encoder.line(Field::Image1Path)},
        {Field::Image2Path, encoder.optionalPath(Field::Image2Path, info.hasImage2)},
        {Field::BriefingText, encoder.text(Field::BriefingText)},
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
