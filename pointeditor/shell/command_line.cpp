#include "pointeditor/shell/command_line.h"

#include <QtCore/QFile>
#include <QtCore/QFileInfo>

#include "pointeditor/data/records.h"

namespace tavo {
namespace {

enum class FileKind { Map, Points };

constexpr char InspectorOption[] = "--inspector";

// Header of a .bd1 before its blocks: the texture names and the block count.
constexpr qint64 BlockHeaderSize = TextureCount * TextureNameSize + 2;

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
           infoOf(argument).isFile();
}

FileKind kindOf(const std::string& path) {
    if (hasExtension(path, "bd1")) {
        return FileKind::Map;
    }
    if (hasExtension(path, "pd1")) {
        return FileKind::Points;
    }
    // A whole .bd1 is its header and 316-byte blocks; a whole .pd1 (2 + 20 n bytes) never has
    // that size. Anything else is tried as points, whose reader then tells what is wrong.
    const qint64 size = infoOf(path).size();
    const bool mapSized =
        size >= BlockHeaderSize && (size - BlockHeaderSize) % BlockRecordSize == 0;
    return mapSized ? FileKind::Map : FileKind::Points;
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
        (kindOf(arguments[i]) == FileKind::Map ? line.mapPath : line.pointPath) = arguments[i];
    }
    return line;
}

} // namespace tavo
