#pragma once
// The map's view of the graphics device: something that turns a map's image files into
// textures. The device layer implements it; the map's loading code only asks.

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/texture_finding.h"

namespace tavo {

struct LoadedTexture {
    std::unique_ptr<Texture> texture; // nullptr when problem is not None
    TextureProblem problem = TextureProblem::None;
};

class TextureLoader {
public:
    virtual ~TextureLoader() = default;
    // One result per file, in order: the whole image at its own size, 32-bit ARGB with a full
    // mip chain, or why not. The files of one call are one map's and share its pixel budget.
    // Never ends the process.
    virtual std::vector<LoadedTexture> loadTextures(std::span<const std::string> files) = 0;

    // One file, as a map of one texture.
    std::unique_ptr<Texture> loadTexture(const std::string& file) {
        return std::move(loadTextures({&file, 1}).front().texture);
    }
};

} // namespace tavo
