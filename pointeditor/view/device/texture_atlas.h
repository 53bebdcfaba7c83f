#pragma once
// Large OpenGL textures ("pages") into which the device copies every texture it loads, each at
// a rectangle of its own. A face then names its texture by that rectangle, so the faces of all
// textures on one page go out in one draw call and each fragment reads one texel. Sampling the
// page is done by hand in the shader (nearest texel, wrapped inside the rectangle), which is
// exactly the device's fixed stage-0 sampling.

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "pointeditor/view/device/gl_context.h"

namespace tavo {

class AtlasPage {
public:
    // `pixels` (ARGB, width x height) fill the page at once; nullptr leaves it undefined.
    AtlasPage(std::shared_ptr<GlContext> context, int width, int height,
              const uint32_t* pixels = nullptr);
    ~AtlasPage();
    AtlasPage(const AtlasPage&) = delete;
    AtlasPage& operator=(const AtlasPage&) = delete;

    GLuint name() const { return name_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Finds room for a width x height rectangle on shelves, left to right and top to bottom;
    // false when the page is full.
    bool place(int width, int height, int& x, int& y);
    // One texture that lived here is gone; when none is left the page starts over empty.
    void release();

private:
    std::shared_ptr<GlContext> context_;
    GLuint name_ = 0;
    int width_;
    int height_;
    int shelfTop_ = 0;
    int shelfHeight_ = 0;
    int cursorX_ = 0;
    int live_ = 0;
};

// A texture's place in the atlas. Holding it keeps the page.
struct AtlasRect {
    std::shared_ptr<AtlasPage> page;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class TextureAtlas {
public:
    explicit TextureAtlas(std::shared_ptr<GlContext> context) : context_(std::move(context)) {}

    // Copies ARGB pixels (rows top first) into a page. An image larger than a shared page gets
    // a page of exactly its own size. An empty rect when OpenGL refuses.
    AtlasRect add(int width, int height, const uint32_t* pixels);

private:
    std::shared_ptr<GlContext> context_;
    std::vector<std::shared_ptr<AtlasPage>> pages_;
};

} // namespace tavo
