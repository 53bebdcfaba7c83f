#pragma once
// The device's textures: each image lives as a rectangle of an atlas page (for the nearest
// sampling the panes use) and, once a draw samples it filtered, as an OpenGL texture of its own
// with its full mip chain, copied from the page. Uploading a decoded image makes only the
// first: a copy the panes never sample would double what a map's textures take. Slots that name
// one file hold textures of one image, which share both.

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
        : image_(std::make_shared<Image>(std::move(context), std::move(rect))) {}
    // Another texture of `other`'s image, sharing its place and its filtered copy.
    explicit GlTexture(const GlTexture& other) : Texture(), image_(other.image_) {}
    GlTexture& operator=(const GlTexture&) = delete;

    const GlContext* context() const { return image_->context.get(); }
    // The texture for filtered sampling, made on the first call, in the context.
    GLuint name() const;
    const AtlasRect& rect() const { return image_->rect; }

private:
    // What the textures of one image share; the last of them frees it.
    struct Image {
        Image(std::shared_ptr<GlContext> c, AtlasRect r)
            : context(std::move(c)), rect(std::move(r)) {}
        ~Image();
        Image(const Image&) = delete;
        Image& operator=(const Image&) = delete;

        std::shared_ptr<GlContext> context;
        AtlasRect rect;
        GLuint name = 0;
    };
    std::shared_ptr<Image> image_;
};

struct DecodedImage;

// A decoded image as a texture of `context`, its copy placed in `atlas`; nullptr when the image
// is malformed or OpenGL refuses it.
std::unique_ptr<Texture> uploadGlTexture(const std::shared_ptr<GlContext>& context,
                                         TextureAtlas& atlas, const DecodedImage& image);

// Another texture of `texture`'s image when it is one of `context`'s own, else nullptr.
std::unique_ptr<Texture> shareGlTexture(const std::shared_ptr<GlContext>& context,
                                        const Texture& texture);

// `texture` when it is one of `context`'s own, else nullptr (it then counts as none).
const GlTexture* ownTexture(const Texture* texture, const GlContext* context);

} // namespace tavo
