#pragma once
// A map's texture files turned into textures: read, measured from their headers against one
// budget of pixels for the whole map, decoded on every core at once, and handed to the device
// one after the other on the calling thread (the OpenGL context's), in file order.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "pointeditor/data/texture.h"
#include "pointeditor/view/image/image_decoder.h"

namespace tavo {

// All textures of one map together, in decoded pixels: one image of the largest side, or many
// times what real maps use. Memory is what it bounds: each pixel is held in several copies
// (decoded, the texture and its mips, the atlas).
inline constexpr int64_t MapPixelBudget = int64_t{MaxImageSide} * MaxImageSide;

// upload gives the texture for a decoded image, or nullptr when the device refuses it.
using TextureUpload = std::function<std::unique_ptr<Texture>(const DecodedImage&)>;

// share gives another texture of an uploaded one's image, or nullptr when it cannot.
using TextureShare = std::function<std::unique_ptr<Texture>(const Texture&)>;

// The files are admitted in order while the budget lasts; a file over what is left of it is
// OverBudget, and later smaller files may still fit. A file named again counts against the
// budget again, as memory would if it were loaded again, but is read, decoded and uploaded
// once: the later names get shared textures of the first one's image (or, where the device
// cannot share, uploads of the one decoded image).
std::vector<LoadedTexture> loadTextureSet(std::span<const std::string> files,
                                          const TextureUpload& upload,
                                          const TextureShare& share = {});

} // namespace tavo
