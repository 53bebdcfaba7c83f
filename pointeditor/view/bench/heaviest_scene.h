#pragma once
// The heaviest scene the editor can hold, for every benchmark that draws it: a town of 160
// textured boxes around the origin (all within the 2D panes at zoom 2) over ten 256 x 256
// textures, 200 points linking to one another (with the special ids, well over the 400 lines
// the list holds) and a selection box open in the top pane. Also what the view benchmarks
// share: a device with its editor state, and the textures' pattern.

#include <memory>
#include <string>

#include "image_files.h"
#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/texture.h"
#include "pointeditor/view/device/gl_device.h"
#include "tests/support/scene_builders.h"
#include "tests/support/scratch_directory.h"

namespace tavo::bench {

// An editor state on a real device of its own, and a folder for its textures; `device` is null
// where there is no OpenGL.
struct Scene {
    Canvas canvas;
    std::unique_ptr<Device> device;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    testing::ScratchDirectory dir;

    Scene() {
        DeviceFailure failure;
        device = createGlDevice(canvas, failure);
        state->textureLoader = device.get();
    }
    ~Scene() { state->textures = {}; } // textures before their device
};

// A photograph-like side x side texture: smooth gradients under a fine pattern, which JPEG does
// not flatten away.
inline testing::TestImage patternImage(int side, int seed) {
    testing::TestImage image = testing::TestImage::filled(side, side, 0);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            uint32_t noise = static_cast<uint32_t>((x * 7919 + y * 104729 + seed * 31) % 61);
            image.at(x, y) = 0xFF000000u | ((x / 4 + noise + seed * 20) & 0xFFu) << 16 |
                             ((y / 4 + noise) & 0xFFu) << 8 | (((x ^ y) + noise) & 0xFFu);
        }
    }
    return image;
}

// Box `i` of the town, 16 across and 10 deep, each face naming its own texture slot.
inline BlockRecord townBlock(int i) {
    const float x = static_cast<float>(i % 16) * 8.0f - 64.0f;
    const float z = static_cast<float>(i / 16) * 12.0f - 60.0f;
    const float height = 4.0f + static_cast<float>((i * 7) % 13);
    BlockRecord block = testing::box(x, 0.0f, z, x + 6.0f, height, z + 9.0f);
    for (int f = 0; f < 6; ++f) {
        block.textureId[f] = (i + f) % TextureCount;
    }
    return block;
}

// Fills `state` (whose device must exist), writing the textures into `dir`.
inline void fillHeaviestScene(EditorState& state, const testing::ScratchDirectory& dir) {
    for (int t = 0; t < TextureCount; ++t) {
        const std::string path = dir.write("t" + std::to_string(t) + ".png",
                                           testing::encode(patternImage(256, t), "PNG"));
        state.textures[static_cast<std::size_t>(t)] = state.textureLoader->loadTexture(path);
    }
    for (int i = 0; i < MaxBlocks; ++i) {
        state.blocks[static_cast<std::size_t>(i)] = townBlock(i);
    }
    // Paths, random paths, humans and events.
    const int8_t kinds[] = {8, 3, 8, 6, 12, 8, 1, 3, 8, 15};
    for (int i = 0; i < MaxPoints; ++i) {
        state.pointTable.points[static_cast<std::size_t>(i)] =
            testing::point(static_cast<float>(i % 20) * 6.0f - 60.0f, static_cast<float>(i % 7),
                           static_cast<float>(i / 20) * 12.0f - 60.0f, kinds[i % 10], i + 2, i + 1,
                           i, static_cast<float>(i) * 0.3926990f);
        state.pointTable.pointUsed[static_cast<std::size_t>(i)] =
            i % 9 == 0 ? SlotSelected : SlotUsed;
    }
    state.menuMode = MenuSelectPoint;
    state.boxView = state.hoverView = TopPane;
    state.boxStartX = state.boxStartZ = -30.0f;
    state.cursorX = 30.0f;
    state.cursorZ = 20.0f;
}

} // namespace tavo::bench
