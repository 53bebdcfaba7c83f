#pragma once
// EditorState: everything the point editor knows, in one record with one instance for the whole
// run (owned by the program's entry, passed by reference; each test builds its own).
//
// Who writes what:
//   map group        loadBlockFile (data) and loadTextures (view); start-up empties it
//   points group     edit/ commands and loadPointFile; the shell's undo and recovery replace
//                    pointTable as a whole
//   files            edit/ file commands (document.cpp) only
//   2D views, camera edit/ (mouse and keys) only
//   mouse, selection the shell's message dispatch (positions) and edit/ (cursor, the
//                    face under it, box)
//   modes            edit/ (menuMode, the id clash and floor notes); the entry sets
//                    english once
//   platform handles the shell (window, texture loader)
// display/ and view/ only read: drawFrame takes the state as const.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/files/file_stamp.h"
#include "pointeditor/data/point_table.h"
#include "pointeditor/data/records.h"
#include "pointeditor/data/texture_finding.h"

namespace tavo {

class Platform;
class TextureLoader;

// A texture held by a map slot. The device layer defines what it really is; the slot owns it, so
// replacing the pointer or resetting it releases the texture.
class Texture {
public:
    Texture();
    virtual ~Texture() = default;

    // A number that no other texture of the run has, so that a new texture made at a freed
    // one's address is still told apart from it.
    uint64_t serial() const { return serial_; }

private:
    uint64_t serial_;
};

// What hoverView and boxView hold: the pane under the pointer, or none (the text column, the
// gaps and the outside of the window).
enum Pane : int32_t { NoPane = 0, TopPane = 1, FrontPane = 2, SidePane = 3, PerspectivePane = 4 };

// What menuMode holds: no command, or one of the on-screen menu's commands in menu order.
enum MenuMode : int32_t {
    MenuNone = 0,
    MenuNewPoint = 1,
    MenuSelectPoint = 2,
    MenuMovePoint = 3,
    MenuDeletePoint = 4,
    MenuView = 5,
    MenuLoadBlock = 6,
    MenuSavePoint = 7,
    MenuLoadPoint = 8,
};
inline constexpr int MenuCommandCount = 8;

struct EditorState {
    // Map.
    std::array<BlockRecord, MaxBlocks> blocks{};
    char textureNames[TextureCount][TextureNameSize] = {}; // CP932 bytes as stored in the .bd1
    char blockDir[BlockDirSize] = {}; // directory of the last block file, no trailing separator
    std::array<std::unique_ptr<Texture>, TextureCount> textures{};

    // Points.
    PointTable pointTable{};
    std::array<int8_t, 4> currentParams{}; // p1..p4 of the next new point

    // Files: the paths last loaded or saved (empty before that) and the points table as the
    // points file held it then, against which unsaved changes are told. The stamp is the points
    // file as it was on disk then, against which a change by someone else is told.
    std::string pointFilePath;
    std::optional<FileStamp> pointFileStamp;
    std::string blockFilePath;
    PointTable savedPoints{};
    // The textures the map as last loaded could not load: a reload tells only the others.
    std::vector<TextureFinding> textureFindings;

    // The three 2D views. Pixels per world unit; panY and panZ are stored negated.
    float zoom = 2.0f;
    float savedZoom = 1.0f;
    float gridStep = 2.5f; // always 5.0 / zoom: set both through setZoom
    float panX = 0.0f;
    float panY = 0.0f;
    float panZ = 0.0f;
    // The switches of the toggle menu. A switch is on, and drawn lit, at exactly 1; a click turns
    // 0 into 1 and any other value into 0. What each one governs reads it the same way (== 1).
    int32_t gridLock = 1;
    int32_t showDirection = 1;
    int32_t showTopView = 1;
    int32_t showFrontView = 1;
    int32_t showSideView = 1;

    // The 3D camera, in 3D-view units (two world units each); angles in radians.
    float cameraX = 50.0f;
    float cameraY = 50.0f;
    float cameraZ = -50.0f;
    float cameraYaw = 2.3561940f;
    float cameraPitch = 2.1816611f;

    // Mouse and selection.
    int32_t mouseX = 0, mouseY = 0;
    int32_t prevMouseX = 0, prevMouseY = 0;
    int32_t hoverView = NoPane; // a Pane
    int32_t prevHoverView = NoPane;
    float cursorX = 0.0f, cursorY = 0.0f, cursorZ = 0.0f;
    float prevCursorX = 0.0f, prevCursorY = 0.0f, prevCursorZ = 0.0f;
    int32_t boxView = NoPane; // pane of a begun selection box
    float boxStartX = 0.0f, boxStartY = 0.0f, boxStartZ = 0.0f;
    // The left button went down in a Ctrl click, which only picks: until the button comes up,
    // dragging and releasing it do nothing.
    bool leftPressPicked = false;

    // Modes and switches.
    int32_t menuMode = MenuNone; // a MenuMode
    int32_t english = 1;         // 1 English names and messages, 0 Japanese
    int32_t running = 0;
    // The note after a template key or Insert that gave new points ids other points already
    // had: the first such id and how many there were (0: no note). The next command clears it.
    int8_t clashingId = 0;
    int32_t clashingIds = 0;
    // The note after End: how many selected points had no block face below and stayed where
    // they were (0: no note). The next command clears it, as it clears the id clash note.
    int32_t pointsWithoutFloor = 0;
    // The first block face under the pointer while Shift (without Ctrl) is held over the 3D
    // pane: where a Shift click in NEW POINT puts its point. updateCursor sets it; false while
    // the pointer is elsewhere, Shift is up or no face is met.
    bool surfaceHit = false;
    float surfaceX = 0.0f, surfaceY = 0.0f, surfaceZ = 0.0f;

    // Platform handles. Not owned here: the shell owns both for the whole run. What a frame
    // draws into (the device, the retained panes) is no part of the state: drawFrame takes it.
    Platform* platform = nullptr; // the desktop services: message boxes, dialogs, Shift, pointer
    TextureLoader* textureLoader = nullptr; // the device's image loader while the device exists
};

// Sets the zoom of the three 2D views and the grid step that goes with it (five pixels).
void setZoom(EditorState& state, float zoom);

// Empties the map and point tables as at start-up: no texture names, no blocks, no points,
// no block directory. Textures already loaded stay in their slots.
void emptyEditorTables(EditorState& state);

} // namespace tavo
