#include "pointeditor/edit/document.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "pointeditor/data/block_file.h"
#include "pointeditor/data/platform.h"
#include "pointeditor/data/point_check.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_load.h"
#include "pointeditor/data/texture_report.h"
#include "pointeditor/edit/file_messages.h"

namespace tavo {
namespace {

constexpr char Title[] = "POINT EDITOR";
const FileFilter BlockFilter{"block data version 1 (bd1)", "*.bd1"};
const FileFilter PointFilter{"point data version 1 (pd1)", "*.pd1"};

std::string fileName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void markSaved(EditorState& state, const std::string& path) {
    state.pointFilePath = path;
    state.pointFileStamp = takeFileStamp(path);
    state.savedPoints = state.pointTable;
}

// Saving over the file the points came from, after someone else changed it, would lose their
// change without a word: the author decides, and No (the default) writes nothing.
bool mayOverwrite(EditorState& state, const std::string& path) {
    const std::optional<FileStamp>& stamp = state.pointFileStamp;
    if (!stamp || stamp->path != path || !changedOnDisk(*stamp, path)) {
        return true;
    }
    const std::string name = fileName(path);
    const std::string question =
        state.english != 0 ? name + " was changed on disk since it was loaded. Overwrite it?"
                           : name + " は読み込んだ後にディスク上で変更されました。上書きしますか？";
    return state.platform->messageBox(question, Title, BoxButtons::YesNoDefaultNo,
                                      BoxIcon::Warning) == BoxAnswer::Yes;
}

bool savePointsTo(EditorState& state, const std::string& path) {
    if (!mayOverwrite(state, path)) {
        return false;
    }
    const FileResult<void> saved = savePointFile(state, path);
    if (!saved) {
        showFileSaveError(state, path, saved.error());
        return false;
    }
    markSaved(state, path);
    return true;
}

bool refuseEmptySave(EditorState& state) {
    if (countUsedPoints(state.pointTable) != 0) {
        return false;
    }
    state.platform->messageBox("NO POINT", "SAVE", BoxButtons::Ok, BoxIcon::None);
    return true;
}

bool savePointsAs(EditorState& state) {
    if (state.platform == nullptr || refuseEmptySave(state)) {
        return false;
    }
    auto path = state.platform->saveFileDialog("save", PointFilter, state.pointFilePath);
    return path && savePointsTo(state, *path);
}

bool saveToCurrentFile(EditorState& state) {
    if (state.pointFilePath.empty()) {
        return savePointsAs(state);
    }
    if (state.platform == nullptr || refuseEmptySave(state)) {
        return false;
    }
    return savePointsTo(state, state.pointFilePath);
}

void loadBlock(EditorState& state) {
    if (state.platform == nullptr) {
        return;
    }
    if (auto path = state.platform->openFileDialog("load block", BlockFilter)) {
        openBlockFile(state, *path);
    }
}

void loadPoints(EditorState& state) {
    if (state.platform == nullptr || !settleUnsavedPoints(state)) {
        return;
    }
    // A file that cannot be read leaves the points as they were.
    if (auto path = state.platform->openFileDialog("load", PointFilter)) {
        openPointFile(state, *path);
    }
}

// One box for every texture that did not load, so the author knows why faces are grey.
void showTextureFindings(const EditorState& state, const std::vector<TextureFinding>& findings) {
    if (!findings.empty() && state.platform != nullptr) {
        state.platform->messageBox(textureReportText(findings, state.english != 0),
                                   textureReportCaption(state.english != 0), BoxButtons::Ok,
                                   BoxIcon::Warning);
    }
}

std::string unsavedQuestion(const EditorState& state) {
    const std::string name = fileName(state.pointFilePath);
    if (state.english != 0) {
        return "Save the changes to " + (name.empty() ? std::string("the new points") : name) + "?";
    }
    return (name.empty() ? std::string("新しいポイント") : name) + " への変更を保存しますか？";
}

} // namespace

bool hasUnsavedPoints(const EditorState& state) {
    return !sameUsedPoints(state.pointTable, state.savedPoints);
}

std::string editorTitle(const EditorState& state) {
    std::string title = Title;
    if (!state.pointFilePath.empty()) {
        title += " - " + fileName(state.pointFilePath);
    }
    if (hasUnsavedPoints(state)) {
        title += " *";
    }
    return title;
}

void openBlockFile(EditorState& state, const std::string& path) {
    auto findings = loadBlockFile(state, path);
    if (!findings) {
        showFileOpenError(state);
        return;
    }
    state.blockFilePath = path;
    showTextureFindings(state, *findings);
    state.textureFindings = std::move(*findings);
}

void reloadBlockFile(EditorState& state) {
    auto findings = loadBlockFile(state, state.blockFilePath);
    if (!findings) {
        showFileOpenError(state);
        state.textureFindings.clear(); // the map is gone: its next load tells every texture again
        return;
    }
    // The author heard of the others at the last load; each reload would only repeat them.
    std::vector<TextureFinding> fresh;
    std::copy_if(findings->begin(), findings->end(), std::back_inserter(fresh),
                 [&state](const TextureFinding& finding) {
                     return std::find(state.textureFindings.begin(), state.textureFindings.end(),
                                      finding) == state.textureFindings.end();
                 });
    showTextureFindings(state, fresh);
    state.textureFindings = std::move(*findings);
}

bool reloadPointFile(EditorState& state) {
    if (hasUnsavedPoints(state)) {
        if (state.platform == nullptr) {
            return false; // nobody to ask: keep the points
        }
        const std::string name = fileName(state.pointFilePath);
        const std::string question =
            state.english != 0
                ? name + " was changed on disk. Reload it and lose the unsaved changes?"
                : name + " がディスク上で変更されました。読み込み直して、保存していない変更を"
                         "破棄しますか？";
        if (state.platform->messageBox(question, Title, BoxButtons::YesNoDefaultNo,
                                       BoxIcon::Warning) != BoxAnswer::Yes) {
            return false;
        }
    }
    openPointFile(state, state.pointFilePath);
    return true;
}

bool openPointFile(EditorState& state, const std::string& path) {
    const FileResult<PointFileLoad> loaded = loadPointFile(state, path);
    if (!loaded) {
        showFileOpenError(state);
        return false;
    }
    showPointFileWarning(state, loaded->loaded, loaded->findings);
    markSaved(state, path);
    return true;
}

void runFileCommand(EditorState& state, FileCommand command) {
    // The mode is cleared only after the box or dialog has closed, so the frames drawn while it
    // is open show the entry highlighted.
    switch (command) {
    case FileCommand::LoadBlock:
        state.menuMode = MenuLoadBlock;
        loadBlock(state);
        break;
    case FileCommand::SavePoint:
        state.menuMode = MenuSavePoint;
        savePointsAs(state);
        break;
    case FileCommand::SaveToCurrent:
        state.menuMode = MenuSavePoint;
        saveToCurrentFile(state);
        break;
    case FileCommand::LoadPoint:
        state.menuMode = MenuLoadPoint;
        loadPoints(state);
        break;
    }
    state.menuMode = MenuNone;
}

bool settleUnsavedPoints(EditorState& state) {
    if (!hasUnsavedPoints(state)) {
        return true;
    }
    if (state.platform == nullptr) {
        return false; // nobody to ask: keep the points
    }
    switch (state.platform->messageBox(unsavedQuestion(state), Title, BoxButtons::SaveDiscardCancel,
                                       BoxIcon::Question)) {
    case BoxAnswer::Save:
        return saveToCurrentFile(state);
    case BoxAnswer::Discard:
        return true;
    default:
        return false;
    }
}

} // namespace tavo
