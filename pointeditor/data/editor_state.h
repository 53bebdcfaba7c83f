#pragma once
// EditorState: everything the point editor knows, in one record with one instance for the whole
// run (owned by the program's entry, passed by reference; each test builds its own).
//
// Who writes what:
//   map group        loadBlockFile (data) and loadTextures (view); start-up empties it
//   points group     edit/ commands and loadPointFile; view/ rewrites only linkLines/linkLineCount
//   2D views, camera edit/ (mouse and keys) only
//   mouse, selection the shell's message dispatch (positions) and edit/ (cursor, box)
//   modes            edit/ (menuMode, the id clash note); the entry sets english once
//   platform handles the shell (window, device) and view/ (device objects, textures)
// display/ and view/ only read, apart from the link line scratch list.

#include <array>
#include <cstdint>
#include <memory>

#include "pointeditor/data/records.h"

namespace tavo {

class Platform;
class Device;
class TextureLoader;

// A texture held by a map slot. The device layer defines what it really is; the slot owns it, so
// replacing the pointer or resetting it releases the texture.
class Texture {
public:
    virtual ~Texture() = default;
};

struct EditorState {
    // Map.
    std::array<BlockRecord, MaxBlocks> blocks{};
    char textureNames[TextureCount][TextureNameSize] = {}; // CP932 bytes as stored in the .bd1
    char blockDir[BlockDirSize] = {}; // directory of the last block file, no trailing separator
    std::array<std::unique_ptr<Texture>, TextureCount> textures{};

    // Points.
    std::array<PointRecord, MaxPoints> points{};
    std::array<int32_t, MaxPoints> pointUsed{}; // 0 free, 1 in use, 2 in use and selected
    std::array<int8_t, 4> currentParams{};      // p1..p4 of the next new point
    std::array<LinkLine, MaxLinkLines> linkLines{};
    int32_t linkLineCount = 0;

    // The three 2D views. Pixels per world unit; panY and panZ are stored negated.
    float zoom = 2.0f;
    float savedZoom = 1.0f;
    float gridStep = 2.5f; // always 5.0 / zoom
    float panX = 0.0f;
    float panY = 0.0f;
    float panZ = 0.0f;
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
    int32_t hoverView = 0; // 0 none, 1 top, 2 front, 3 side, 4 3D
    int32_t prevHoverView = 0;
    float cursorX = 0.0f, cursorY = 0.0f, cursorZ = 0.0f;
    float prevCursorX = 0.0f, prevCursorY = 0.0f, prevCursorZ = 0.0f;
    int32_t boxView = 0; // pane of a begun selection box, 0 when none
    float boxStartX = 0.0f, boxStartY = 0.0f, boxStartZ = 0.0f;

    // Modes and switches.
    int32_t menuMode = 0; // 0 none, 1..8 the on-screen menu's commands
    int32_t english = 1;  // 1 English names and messages, 0 Japanese
    int32_t running = 0;
    // The note after a template key or Insert that gave new points ids other points already
    // had: the first such id and how many there were (0: no note). The next command clears it.
    int8_t clashingId = 0;
    int32_t clashingIds = 0;

    // Platform handles. Not owned here: the shell owns both for the whole run.
    Platform* platform = nullptr; // the desktop services: message boxes, dialogs, text, pointer
    Device* device = nullptr;     // null until the device exists; nothing is rendered without it
    TextureLoader* textureLoader = nullptr; // the device's image loader while the device exists
};

// Number of slots in use (selected ones included), 0..200.
int countUsedPoints(const EditorState& state);

// The lowest used slot whose id number p4 equals id, or -1 when no used point has it.
int findPointById(const EditorState& state, int8_t id);

// Empties the map and point tables as at start-up: no texture names, no blocks, no points,
// no block directory. Textures already loaded stay in their slots.
void emptyEditorTables(EditorState& state);

} // namespace tavo
