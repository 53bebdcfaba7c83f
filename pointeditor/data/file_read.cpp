#include "pointeditor/data/file_read.h"

#include <algorithm>

#include "common/files/file_write.h"
#include "common/files/printable.h"
#include "pointeditor/data/platform.h"

namespace tavo {

std::size_t recordsToRead(int declaredCount, int capacity, std::size_t bytesAfterHeader,
                          std::size_t recordSize) {
    auto wanted = static_cast<std::size_t>(std::clamp(declaredCount, 0, capacity));
    return std::min(wanted, bytesAfterHeader / recordSize);
}

void showFileOpenError(const EditorState& state) {
    if (state.platform != nullptr) {
        state.platform->messageBox("file open error", "error", BoxButtons::Ok, BoxIcon::None);
    }
}

void showFileSaveError(const EditorState& state, const std::string& path, const FileError& error) {
    if (error.kind != FileErrorKind::FolderNotWritable) {
        showFileOpenError(state);
        return;
    }
    if (state.platform != nullptr) {
        const std::string name = path.substr(path.find_last_of('/') + 1);
        state.platform->messageBox(
            folderNotWritableText(printable(name), printable(error.folder), state.english == 0),
            "error", BoxButtons::Ok, BoxIcon::None);
    }
}

} // namespace tavo
