#include "pointeditor/edit/file_messages.h"

#include "common/files/file_write.h"
#include "common/files/printable.h"
#include "pointeditor/data/finding_box.h"
#include "pointeditor/data/platform.h"

namespace tavo {

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

void showPointFileWarning(const EditorState& state, int loaded,
                          const std::vector<Finding>& findings) {
    if (findings.empty() || state.platform == nullptr) {
        return;
    }
    const bool english = state.english != 0;
    const std::string count = std::to_string(loaded);
    const std::string heading =
        english ? "LOADED " + count + " POINTS" : count + " 個のポイントを読み込みました";
    state.platform->messageBox(findingBoxText(state, heading, findingLines(state, findings)),
                               english ? "LOAD POINT" : "ポイント読み込み", BoxButtons::Ok,
                               BoxIcon::Warning);
}

} // namespace tavo
