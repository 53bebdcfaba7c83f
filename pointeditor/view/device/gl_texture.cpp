#include "pointeditor/view/device/gl_texture.h"

#include "pointeditor/view/image/image_decoder.h"
#include "pointeditor/view/image/mip_chain.h"

namespace tavo {

GlTexture::Image::~Image() {
    context->makeCurrent();
    glDeleteTextures(1, &name);
    if (rect.page) {
        rect.page->release();
    }
}

// The page's rectangle read back through a framebuffer that reads the page, and uploaded with
// the mip chain built from it; the bindings it changes are put back, as a draw may be under way.
GLuint GlTexture::name() const {
    GLuint& texture = image_->name;
    const AtlasRect& rect = image_->rect;
    if (texture != 0) {
        return texture;
    }
    image_->context->makeCurrent();
    GLint readFramebuffer = 0;
    GLint boundTexture = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           rect.page->name(), 0);
    DecodedImage image{rect.width, rect.height, {}};
    image.pixels.resize(static_cast<std::size_t>(rect.width) * rect.height);
    glReadPixels(rect.x, rect.y, rect.width, rect.height, GL_BGRA, GL_UNSIGNED_BYTE,
                 image.pixels.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
    glDeleteFramebuffers(1, &framebuffer);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const auto upload = [](GLint level, const DecodedImage& pixels) {
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, pixels.width, pixels.height, 0, GL_BGRA,
                     GL_UNSIGNED_BYTE, pixels.pixels.data());
    };
    upload(0, image);
    GLint level = 0;
    for (const DecodedImage& below : mipChain(image)) {
        upload(++level, below);
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
    return texture;
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
    AtlasRect rect = atlas.add(image.width, image.height, image.pixels.data());
    if (glGetError() != GL_NO_ERROR || !rect.page) {
        if (rect.page) {
            rect.page->release();
        }
        return nullptr;
    }
    return std::make_unique<GlTexture>(context, std::move(rect));
}

std::unique_ptr<Texture> shareGlTexture(const std::shared_ptr<GlContext>& context,
                                        const Texture& texture) {
    const GlTexture* own = ownTexture(&texture, context.get());
    return own != nullptr ? std::make_unique<GlTexture>(*own) : nullptr;
}

const GlTexture* ownTexture(const Texture* texture, const GlContext* context) {
    auto* glTexture = dynamic_cast<const GlTexture*>(texture);
    return glTexture != nullptr && glTexture->context() == context ? glTexture : nullptr;
}

} // namespace tavo
