#include "pointeditor/data/point_text_form.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

#include "common/files/printable.h"
#include "pointeditor/data/name_tables.h"
#include "pointeditor/data/point_links.h"

namespace tavo {
namespace {

constexpr const char* FieldNames[8] = {"x", "y", "z", "r", "p1", "p2", "p3", "p4"};

std::string nameOf(const NameTable& table, int index, const char* what) {
    const auto name = lookupName(table, index, true);
    if (name) {
        return std::string(*name);
    }
    return std::string("unknown ") + what + " " + std::to_string(index);
}

std::string formatLine(const PointRecord& point) {
    return formatFloat(point.x) + " " + formatFloat(point.y) + " " + formatFloat(point.z) + " " +
           formatFloat(point.r) + " " + std::to_string(point.p1) + " " + std::to_string(point.p2) +
           " " + std::to_string(point.p3) + " " + std::to_string(point.p4);
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
    };
    while (i < line.size()) {
        while (i < line.size() && isSpace(line[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && !isSpace(line[i])) {
            ++i;
        }
        if (i > start) {
            fields.push_back(line.substr(start, i - start));
        }
    }
    return fields;
}

std::string quoted(std::string_view field) {
    constexpr std::size_t shown = 24;
    return "'" + printable(field.substr(0, shown)) + (field.size() > shown ? "...'" : "'");
}

// Each returns an error message, or nothing when the field parsed into `out`.
std::optional<std::string> parseFloatField(std::string_view field, const char* name, float& out) {
    const auto result = std::from_chars(field.data(), field.data() + field.size(), out);
    if (result.ec == std::errc::result_out_of_range && result.ptr == field.data() + field.size()) {
        return std::string(name) + " is " + quoted(field) + ", outside the range of a float";
    }
    if (result.ec != std::errc() || result.ptr != field.data() + field.size()) {
        return "expected a number for " + std::string(name) + ", found " + quoted(field);
    }
    if (!std::isfinite(out)) {
        return std::string(name) + " is " + quoted(field) + "; expected a finite number";
    }
    return std::nullopt;
}

std::optional<std::string> parseParamField(std::string_view field, const char* name, int8_t& out) {
    long long value = 0;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
    if (result.ec == std::errc::result_out_of_range && result.ptr == field.data() + field.size()) {
        return std::string(name) + " is " + quoted(field) + ", outside -128..127";
    }
    if (result.ec != std::errc() || result.ptr != field.data() + field.size()) {
        return "expected an integer for " + std::string(name) + ", found " + quoted(field);
    }
    if (value < -128 || value > 127) {
        return std::string(name) + " is " + std::to_string(value) + ", outside -128..127";
    }
    out = static_cast<int8_t>(value);
    return std::nullopt;
}

std::optional<std::string> parsePointFields(const std::vector<std::string_view>& fields,
                                            PointRecord& point) {
    if (fields.size() != 8) {
        return "expected 8 values (x y z r p1 p2 p3 p4), found " + std::to_string(fields.size());
    }
    float* floats[4] = {&point.x, &point.y, &point.z, &point.r};
    for (int i = 0; i < 4; ++i) {
        if (auto error = parseFloatField(fields[i], FieldNames[i], *floats[i])) {
            return error;
        }
    }
    int8_t* params[4] = {&point.p1, &point.p2, &point.p3, &point.p4};
    for (int i = 0; i < 4; ++i) {
        if (auto error = parseParamField(fields[4 + i], FieldNames[4 + i], *params[i])) {
            return error;
        }
    }
    return std::nullopt;
}

std::string expectedHeader() {
    return "\"" + std::string(TextFormatName) + " " + std::to_string(TextFormatVersion) + "\"";
}

} // namespace

std::string describePoint(const PointRecord& point) {
    const int kind = point.p1;
    std::string text = kindLabel(kind);
    if (kind == KindUnnamed) {
        text += " (no name)";
    } else if (kind < 1 || kind > LastKind) {
        text = "unknown " + text;
    }
    const std::string p2 = std::to_string(point.p2);
    const std::string p3 = std::to_string(point.p3);
    switch (kind) {
    case KindHuman:
    case KindHumanEmptyHanded:
        return text + ", path " + p3;
    case KindWeapon:
        return text + ", " + nameOf(weaponNames, point.p2, "weapon");
    case KindPath:
        return text + ", " + nameOf(pathActionNames, point.p2, "action") +
               (point.p3 == point.p4 ? ", end of path" : ", next " + p3);
    case KindHumanInfo:
        return text + ", " + nameOf(humanTypeNames, point.p2, "human type");
    case KindSmallObject:
        return text + ", " + nameOf(smallObjectNames, point.p2, "small object");
    case KindRandomWeapon:
        return text + ", " + nameOf(weaponNames, point.p2, "weapon") + " or " +
               nameOf(weaponNames, point.p3, "weapon");
    case KindRandomPath:
        return text + ", next " + p2 + " or " + p3;
    default:
        break;
    }
    if (isEventKind(kind)) {
        if (isWaitingEventKind(kind)) {
            text += ", target " + p2;
        }
        return text + ", next " + p3;
    }
    return text;
}

std::string writePointText(std::span<const PointRecord> records,
                           std::span<const std::string> notes) {
    std::string text = std::string(TextFormatName) + " " + std::to_string(TextFormatVersion) + "\n";
    text += "# x y z r p1 p2 p3 p4, one point a line in slot order\n";
    for (const std::string& note : notes) {
        text += "# " + note + "\n";
    }
    for (const PointRecord& point : records) {
        text += formatLine(point) + "  # " + describePoint(point) + "\n";
    }
    return text;
}

namespace {

struct ParsedLines {
    std::vector<PointRecord> records;
    TextErrors errors;
};

ParsedLines parseLines(std::string_view text) {
    ParsedLines parsed;
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, byteOrderMark.size()) == byteOrderMark) {
        text.remove_prefix(byteOrderMark.size());
    }
    bool headerSeen = false;
    bool tooManyReported = false;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        const auto fields = splitFields(line);
        if (fields.empty()) {
            continue;
        }
        auto fail = [&](std::string message) {
            if (parsed.errors.kept.size() < MaxKeptTextErrors) {
                parsed.errors.kept.push_back(TextError{lineNumber, std::move(message)});
            } else {
                ++parsed.errors.more;
            }
        };
        if (!headerSeen) {
            if (fields[0] != TextFormatName) {
                fail("expected the header " + expectedHeader());
                return parsed;
            }
            if (fields.size() != 2 || fields[1] != std::to_string(TextFormatVersion)) {
                fail("expected the header " + expectedHeader() + "; this pointtool reads only " +
                     "version " + std::to_string(TextFormatVersion));
                return parsed;
            }
            headerSeen = true;
            continue;
        }
        PointRecord point;
        if (auto error = parsePointFields(fields, point)) {
            fail(*error);
            continue;
        }
        if (parsed.records.size() == static_cast<std::size_t>(MaxPoints)) {
            if (!tooManyReported) {
                fail("point " + std::to_string(MaxPoints + 1) + "; a point file holds at most " +
                     std::to_string(MaxPoints));
                tooManyReported = true;
            }
            continue;
        }
        parsed.records.push_back(point);
    }
    if (!headerSeen) {
        parsed.errors.kept.push_back(TextError{
            std::max(lineNumber, 1), "the text ends before the header " + expectedHeader()});
    }
    return parsed;
}

} // namespace

Result<std::vector<PointRecord>, TextErrors> parsePointText(std::string_view text) {
    ParsedLines parsed = parseLines(text);
    if (!parsed.errors.kept.empty()) {
        return std::move(parsed.errors);
    }
    return std::move(parsed.records);
}

} // namespace tavo
