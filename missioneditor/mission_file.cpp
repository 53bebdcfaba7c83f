#include "missioneditor/mission_file.h"

#include <QFile>

#include "common/files/file_read.h"
#include "common/files/file_write.h"

namespace tavo::mission {
namespace {

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

FileResult<std::string> readFileBytes(const QString& path) {
    FileResult<std::vector<uint8_t>> bytes = readWholeFile(localPath(path), DataFileLimit);
    if (!bytes) {
        return bytes.error();
    }
    return std::string(bytes->begin(), bytes->end());
}

FileResult<void> saveFileBytes(const QString& path, std::string_view bytes) {
    return writeFileAtomically(
        localPath(path), std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

} // namespace tavo::mission
