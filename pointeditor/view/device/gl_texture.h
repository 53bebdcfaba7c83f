#pragma once
// The device's textures: each image lives as a rectangle of an atlas page (for the nearest
// sampling the panes use) and, once a draw samples it filtered, as an OpenGL texture of its own
// with its full mip chain, copied from the page. Uploading a decoded image makes only the
// first: a copy the panes never sample would double what a map's textures take.

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <memory>
#include <string>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/view/device/gl_context.h"
#include "pointeditor/view/device/texture_atlas.h"

namespace tavo {

class GlTexture : public Texture {
public:
    GlTexture(std::shared_ptr<GlContext> context, AtlasRect rect)
        : context_(std::move(context)), rect_(std::move(rect)) {}
    ~GlTexture() override;
    GlTexture(const GlTexture&) = delete;
    GlTexture& operator=(const GlTexture&) = delete;

    const GlContext* context() const { return context_.get(); }
    // The texture for filtered sampling, made on the first call, in the context.
    GLuint name() const;
    const AtlasRect& rect() const { return rect_; }

private:
    std::shared_ptr<GlContext> context_;
    mutable GLuint name_ = 0;
    AtlasRect rect_;
};

struct DecodedImage;

// A decoded image as a texture of `context`, its copy placed in `atlas`; nullptr when the image
// is malformed or OpenGL refuses it.
std::unique_ptr<Texture> uploadGlTexture(const std::shared_ptr<GlContext>& context,
                                         TextureAtlas& atlas, const DecodedImage& image);

// `texture` when it is one of `context`'s own, else nullptr (it then counts as none).
const GlTexture* ownTexture(const Texture* texture, const GlContext* context);

} // namespace tavo
