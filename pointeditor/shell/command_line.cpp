#include "pointeditor/shell/command_line.h"

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <algorithm>
#include <cctype>
#include <string_view>

#include "common/files/file_read.h"
#include "common/files/printable.h"
#include "pointeditor/data/records.h"

namespace tavo {
namespace {

enum class FileKind { Map, Points, Mission, Unknown };

constexpr char InspectorOption[] = "--inspector";

// Header of a .bd1 before its blocks: the texture names and the block count.
constexpr std::size_t BlockHeaderSize = TextureCount * TextureNameSize + 2;
// The lines of a mission file before its briefing.
constexpr int MissionLines = 9;
// The sky and the flags: the two lines that are numbers.
constexpr int SkyLine = 4;
constexpr int FlagsLine = 5;

bool hasExtension(const std::string& path, const char* extension) {
    return QFileInfo(QFile::decodeName(path.c_str()))
               .suffix()
               .compare(QLatin1String(extension), Qt::CaseInsensitive) == 0;
}

QFileInfo infoOf(const std::string& path) {
    return QFileInfo(QFile::decodeName(path.c_str()));
}

bool namesFile(const std::string& argument) {
    return hasExtension(argument, "bd1") || hasExtension(argument, "pd1") ||
           hasExtension(argument, "mif") || infoOf(argument).isFile();
}

// "12", "-3" (a CR of the line end left on it is no part of it).
bool isNumberLine(std::string_view line) {
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if (line.starts_with('-')) {
        line.remove_prefix(1);
    }
    return !line.empty() &&
           std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Nine lines whose fifth and sixth are numbers: the sky and the flags of a mission file.
bool looksLikeMission(std::string_view bytes) {
    std::size_t start = 0;
    for (int line = 0; line < MissionLines; ++line) {
        const std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            return false;
        }
        if ((line == SkyLine || line == FlagsLine) &&
            !isNumberLine(bytes.substr(start, end - start))) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

FileKind kindOf(const std::string& path) {
    if (hasExtension(path, "bd1")) {
        return FileKind::Map;
    }
    if (hasExtension(path, "pd1")) {
        return FileKind::Points;
    }
    if (hasExtension(path, "mif")) {
        return FileKind::Mission;
    }
    const auto bytes = readWholeFile(path, DataFileLimit);
    if (!bytes) {
        return FileKind::Unknown;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (looksLikeMission(text)) {
        return FileKind::Mission;
    }
    // A whole .bd1 is its header and 316-byte blocks, a whole .pd1 its count and 20-byte points;
    // no size is both.
    const std::size_t size = bytes->size();
    if (size >= BlockHeaderSize && (size - BlockHeaderSize) % BlockRecordSize == 0) {
        return FileKind::Map;
    }
    if (size >= PointCountSize && (size - PointCountSize) % PointRecordSize == 0) {
        return FileKind::Points;
    }
    return FileKind::Unknown;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& given) {
    CommandLine line;
    std::vector<std::string> arguments;
    for (const std::string& argument : given) {
        if (argument == InspectorOption) {
            line.inspector = true;
        } else {
            arguments.push_back(argument);
        }
    }
    std::size_t first = 0;
    if (!arguments.empty() && !namesFile(arguments.front())) {
        line.language = arguments.front();
        first = 1;
    }
    for (std::size_t i = first; i < arguments.size(); ++i) {
        const std::string& path = arguments[i];
        switch (kindOf(path)) {
        case FileKind::Map:
            line.mapPath = path;
            break;
        case FileKind::Points:
            line.pointPath = path;
            break;
        case FileKind::Mission:
            line.missionPath = path;
            break;
        case FileKind::Unknown:
            line.refused.push_back(path);
            break;
        }
    }
    return line;
}

std::string refusedFileText(const std::string& path, bool english) {
    const std::string name = printable(path);
    return english ? name + " is not a map (.bd1), points (.pd1) or mission (.mif) file; not opened"
                   : name + " はマップ (.bd1)、ポイント (.pd1)、ミッション (.mif) のどのファイル"
                            "でもないため、開きません";
}

} // namespace tavo
