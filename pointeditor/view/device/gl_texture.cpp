#include "pointeditor/view/device/gl_texture.h"

#include "pointeditor/view/image/image_decoder.h"

namespace tavo {

GlTexture::~GlTexture() {
    context_->makeCurrent();
    glDeleteTextures(1, &name_);
    if (rect_.page) {
        rect_.page->release();
    }
}

std::unique_ptr<Texture> uploadGlTexture(const std::shared_ptr<GlContext>& context,
                                         TextureAtlas& atlas, const DecodedImage& image) {
    context->makeCurrent();
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (image.width <= 0 || image.height <= 0 || image.width > maxSize || image.height > maxSize ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) {
        return nullptr;
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, image.pixels.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    AtlasRect rect = atlas.add(image.width, image.height, image.pixels.data());
    if (glGetError() != GL_NO_ERROR || !rect.page) {
        glDeleteTextures(1, &name);
        if (rect.page) {
            rect.page->release();
        }
        return nullptr;
    }
    return std::make_unique<GlTexture>(context, name, std::move(rect));
}

const GlTexture* ownTexture(const Texture* texture, const GlContext* context) {
    auto* glTexture = dynamic_cast<const GlTexture*>(texture);
    return glTexture != nullptr && glTexture->context() == context ? glTexture : nullptr;
}

} // namespace tavo
