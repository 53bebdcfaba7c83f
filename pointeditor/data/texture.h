#pragma once
// The map's view of the graphics device: something that turns an image file into a texture.
// The device layer implements it; the map's loading code only asks.

#include <memory>
#include <string>

#include "pointeditor/data/editor_state.h"

namespace tavo {

class TextureLoader {
public:
    virtual ~TextureLoader() = default;
    // The whole image at its own size, 32-bit ARGB with a full mip chain; nullptr when the file
    // is missing, unreadable, corrupt or of an unsupported format. Never ends the process.
    virtual std::unique_ptr<Texture> loadTexture(const std::string& path) = 0;
};

} // namespace tavo
