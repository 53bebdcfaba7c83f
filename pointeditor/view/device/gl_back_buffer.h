#pragma once
// The device's one back buffer: a Device::BackBufferSize square framebuffer object with RGBA8
// colour and 16-bit depth, kept top row first. Clearing it and presenting it (reading it back
// into the canvas) happen here, and so does a copy of it kept aside: the software rasteriser
// copies a whole buffer far faster than it draws the lines that filled it. The caller makes the
// context current.

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstdint>
#include <vector>

#include "pointeditor/view/device/canvas.h"

namespace tavo {

class GlBackBuffer {
public:
    GlBackBuffer() = default;
    ~GlBackBuffer();
    GlBackBuffer(const GlBackBuffer&) = delete;
    GlBackBuffer& operator=(const GlBackBuffer&) = delete;

    // False when OpenGL cannot make a complete framebuffer.
    bool create();
    void bind() const;

    // Device ClearFlags; colour ARGB, depth clamped to 0..1.
    void clear(uint32_t flags, uint32_t colour, float depth);

    // The buffer's colour and depth copied aside, and put back by restore(); false when nothing
    // is kept. forget() drops what is kept.
    void keep();
    bool restore();
    void forget() { kept_ = false; }

    // Copies the whole buffer 1:1 into `canvas` with its top-left corner at (left, top),
    // dropping what falls outside.
    void present(Canvas& canvas, int left, int top);

private:
    GLuint framebuffer_ = 0;
    GLuint colourBuffer_ = 0;
    GLuint depthBuffer_ = 0;
    GLuint keptFramebuffer_ = 0;
    GLuint keptColour_ = 0;
    GLuint keptDepth_ = 0;
    bool kept_ = false;
    std::vector<uint32_t> readBack_;
};

} // namespace tavo
