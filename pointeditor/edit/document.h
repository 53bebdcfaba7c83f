#pragma once
// The editor's files as the author sees them: which points file is open, whether the table
// differs from it, the title that says so, and the commands that load and save. Every load and
// save of the editor goes through here, so the remembered paths and table never disagree with
// the disk.

#include <string>

#include "pointeditor/data/editor_state.h"

namespace tavo {

// The used points differ from the table last loaded or saved.
bool hasUnsavedPoints(const EditorState& state);

// "POINT EDITOR", then " - " and the points file's name when there is one, then " *" while
// there are unsaved changes.
std::string editorTitle(const EditorState& state);

// Load a file as LOAD BLOCK and LOAD POINT do, and remember it. A file that cannot be read
// shows the usual error box and changes nothing; textures of a map that did not load are
// listed in one box.
void openBlockFile(EditorState& state, const std::string& path);
bool openPointFile(EditorState& state, const std::string& path);

// The map file or a texture it names changed on disk: loads blockFilePath again. The points, the
// camera and the views stay; the texture box lists only textures that did not fail at the last
// load.
void reloadBlockFile(EditorState& state);

// The points file changed on disk, and not by this editor: loads it again as LOAD POINT does. With
// unsaved changes the author is asked first, and No, the default, keeps them; false then.
bool reloadPointFile(EditorState& state);

// The file commands, each with its menu entry highlighted while its box or dialog is open, as
// when it is chosen on screen. A save over the points file as loaded or last saved, which another
// program has changed since (state.pointFileStamp), first asks whether to overwrite it; No, the
// default, writes nothing and keeps the changes unsaved.
enum class FileCommand {
    LoadBlock,
    SavePoint,     // through the save dialog
    SaveToCurrent, // to the current points file, through the dialog when there is none
    LoadPoint,
};
void runFileCommand(EditorState& state, FileCommand command);

// Before the points are replaced or the editor ends: asks whether to save unsaved changes.
// True when the caller may go on (nothing unsaved, saved, or discarded), false when the author
// cancelled or the save failed or was cancelled.
bool settleUnsavedPoints(EditorState& state);

} // namespace tavo
