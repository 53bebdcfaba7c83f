#include "pointeditor/view/device/gl_back_buffer.h"

#include <algorithm>

#include "pointeditor/view/device/device.h"

namespace tavo {

namespace {

constexpr int Size = Device::BackBufferSize;

// R, G, B, A bytes as read back, to the canvas's opaque 0xFFRRGGBB.
inline uint32_t canvasPixel(uint32_t rgba) {
    return 0xFF000000u | (rgba & 0x0000FF00u) | (rgba & 0xFFu) << 16 | (rgba >> 16 & 0xFFu);
}

// A Size x Size framebuffer of RGBA8 colour and 16-bit depth; false when it is incomplete.
bool makeFramebuffer(GLuint& framebuffer, GLuint& colour, GLuint& depth) {
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, Size, Size);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, Size, Size);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// Both buffers, pixel for pixel.
void copyBuffers(GLuint from, GLuint to) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    glBlitFramebuffer(0, 0, Size, Size, 0, 0, Size, Size, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT,
                      GL_NEAREST);
}

} // namespace

GlBackBuffer::~GlBackBuffer() {
    glDeleteRenderbuffers(1, &depthBuffer_);
    glDeleteRenderbuffers(1, &colourBuffer_);
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &keptDepth_);
    glDeleteRenderbuffers(1, &keptColour_);
    glDeleteFramebuffers(1, &keptFramebuffer_);
}

bool GlBackBuffer::create() {
    readBack_.resize(static_cast<std::size_t>(Size) * Size);
    return makeFramebuffer(keptFramebuffer_, keptColour_, keptDepth_) &&
           makeFramebuffer(framebuffer_, colourBuffer_, depthBuffer_);
}

void GlBackBuffer::keep() {
    copyBuffers(framebuffer_, keptFramebuffer_);
    bind();
    kept_ = true;
}

bool GlBackBuffer::restore() {
    if (kept_) {
        copyBuffers(keptFramebuffer_, framebuffer_);
    }
    bind();
    return kept_;
}

void GlBackBuffer::bind() const {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

void GlBackBuffer::clear(uint32_t flags, uint32_t colour, float depth) {
    bind();
    GLbitfield mask = 0;
    if ((flags & ClearTarget) != 0) {
        glClearColor(static_cast<float>((colour >> 16) & 0xFF) / 255.0f,
                     static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
                     static_cast<float>(colour & 0xFF) / 255.0f,
                     static_cast<float>(colour >> 24) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if ((flags & ClearZBuffer) != 0) {
        glDepthMask(GL_TRUE);
        glClearDepth(static_cast<double>(std::clamp(depth, 0.0f, 1.0f)));
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (mask != 0) {
        glClear(mask);
    }
}

void GlBackBuffer::present(Canvas& canvas, int left, int top) {
    bind();
    // Read in the buffer's own byte order (R, G, B, A), which needs no conversion inside the
    // driver; red and blue trade places in the canvas afterwards. A pane that lies wholly in
    // the canvas (every pane does) is read straight into it.
    const bool inside =
        left >= 0 && top >= 0 && left + Size <= Canvas::Width && top + Size <= Canvas::Height;
    if (inside) {
        glPixelStorei(GL_PACK_ROW_LENGTH, Canvas::Width);
        glReadPixels(0, 0, Size, Size, GL_RGBA, GL_UNSIGNED_BYTE, &canvas.at(left, top));
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        for (int y = 0; y < Size; ++y) {
            uint32_t* row = &canvas.at(left, top + y);
            for (int i = 0; i < Size; ++i) {
                row[i] = canvasPixel(row[i]);
            }
        }
        return;
    }
    glReadPixels(0, 0, Size, Size, GL_RGBA, GL_UNSIGNED_BYTE, readBack_.data());
    int x0 = std::max(left, 0);
    int x1 = std::min(left + Size, Canvas::Width);
    int y0 = std::max(top, 0);
    int y1 = std::min(top + Size, Canvas::Height);
    for (int y = y0; y < y1; ++y) {
        const uint32_t* source =
            readBack_.data() + static_cast<std::size_t>(y - top) * Size + (x0 - left);
        uint32_t* target = &canvas.at(x0, y);
        for (int i = 0; i < x1 - x0; ++i) {
            target[i] = canvasPixel(source[i]);
        }
    }
}

} // namespace tavo
