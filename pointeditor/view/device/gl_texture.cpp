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

// The page's rectangle copied into a texture of its own through a framebuffer that reads the
// page; the bindings it changes are put back, as a draw may be under way.
GLuint GlTexture::name() const {
    if (name_ != 0) {
        return name_;
    }
    context_->makeCurrent();
    GLint readFramebuffer = 0;
    GLint boundTexture = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           rect_.page->name(), 0);
    glGenTextures(1, &name_);
    glBindTexture(GL_TEXTURE_2D, name_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, rect_.width, rect_.height, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, nullptr);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, rect_.x, rect_.y, rect_.width, rect_.height);
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
    glDeleteFramebuffers(1, &framebuffer);
    return name_;
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

const GlTexture* ownTexture(const Texture* texture, const GlContext* context) {
    auto* glTexture = dynamic_cast<const GlTexture*>(texture);
    return glTexture != nullptr && glTexture->context() == context ? glTexture : nullptr;
}

} // namespace tavo
