#pragma once
// The text form of a point file, for review and version control: a header line naming the
// format, then one point a line in slot order, "x y z r p1 p2 p3 p4", with a comment that names
// the kind and parameters for a reader. Floats are written in the shortest form that reads back
// to the same bits, so text and binary convert into each other without loss. pointtool reads and
// writes files in it; the point editor puts copied points on the clipboard in it.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "pointeditor/data/records.h"

namespace tavo {

inline constexpr std::string_view TextFormatName = "tavo-points-text";
inline constexpr int TextFormatVersion = 1;

// What a point means, in English: "PATH, RUN, next 9".
std::string describePoint(const PointRecord& point);

// The whole text form. Each note becomes a comment line under the header.
std::string writePointText(std::span<const PointRecord> records,
                           std::span<const std::string> notes = {});

struct TextError {
    int line = 0; // 1-based
    std::string message;
};

// The errors kept, enough to show; the rest are only counted, so a long text of bad lines costs
// no more memory than a short one.
inline constexpr std::size_t MaxKeptTextErrors = 20;

struct TextErrors {
    std::vector<TextError> kept; // the first problem of each bad line, in line order
    std::size_t more = 0;        // bad lines past the first MaxKeptTextErrors
};

// Reads the text form back: the records, or what is wrong with the text. Comments (from '#' to
// the end of the line) and blank lines are ignored; CR LF line ends and a UTF-8 byte order mark
// are accepted.
Result<std::vector<PointRecord>, TextErrors> parsePointText(std::string_view text);

} // namespace tavo
