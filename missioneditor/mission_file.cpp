#include "missioneditor/mission_file.h"

#include "common/files/file_read.h"
#include "common/files/file_write.h"

namespace tavo::mission {

FileResult<std::string> readFileBytes(const std::string& path) {
    FileResult<std::vector<uint8_t>> bytes = readWholeFile(path, DataFileLimit);
    if (!bytes) {
        return bytes.error();
    }
    return std::string(bytes->begin(), bytes->end());
}

FileResult<void> saveFileBytes(const std::string& path, std::string_view bytes) {
    return writeFileAtomically(
        path, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

} // namespace tavo::mission
