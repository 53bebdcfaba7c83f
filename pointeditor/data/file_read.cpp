#include "pointeditor/data/file_read.h"

#include <algorithm>

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

} // namespace tavo
