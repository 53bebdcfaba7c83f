#include "pointeditor/view/device/texture_atlas.h"

#include <algorithm>

namespace tavo {

namespace {

// Ten map textures of 512 x 512 fit on one page of this size.
constexpr int DefaultPageSize = 2048;

} // namespace

AtlasPage::AtlasPage(std::shared_ptr<GlContext> context, int width, int height,
                     const uint32_t* pixels)
    : context_(std::move(context)), width_(width), height_(height) {
    context_->makeCurrent();
    glGenTextures(1, &name_);
    glBindTexture(GL_TEXTURE_2D, name_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width_, height_, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
}

AtlasPage::~AtlasPage() {
    context_->makeCurrent();
    glDeleteTextures(1, &name_);
}

bool AtlasPage::place(int width, int height, int& x, int& y) {
    if (width > width_ || height > height_) {
        return false;
    }
    if (cursorX_ + width > width_) {
        shelfTop_ += shelfHeight_;
        shelfHeight_ = 0;
        cursorX_ = 0;
    }
    if (shelfTop_ + height > height_) {
        return false;
    }
    x = cursorX_;
    y = shelfTop_;
    cursorX_ += width;
    shelfHeight_ = std::max(shelfHeight_, height);
    ++live_;
    return true;
}

void AtlasPage::release() {
    if (--live_ == 0) {
        shelfTop_ = 0;
        shelfHeight_ = 0;
        cursorX_ = 0;
    }
}

AtlasRect TextureAtlas::add(int width, int height, const uint32_t* pixels) {
    AtlasRect rect;
    rect.width = width;
    rect.height = height;
    for (const auto& page : pages_) {
        if (page->place(width, height, rect.x, rect.y)) {
            rect.page = page;
            break;
        }
    }
    if (!rect.page) {
        // A large image gets a page of its own shape (a thin one a thin page), which no other
        // texture shares and which goes with it. Its pixels go in as the page is made: Mesa's
        // software rasteriser takes far more memory for a later copy into a thin page.
        if (width > DefaultPageSize || height > DefaultPageSize) {
            rect.page = std::make_shared<AtlasPage>(context_, width, height, pixels);
            rect.page->place(width, height, rect.x, rect.y);
            return rect;
        }
        auto page = std::make_shared<AtlasPage>(context_, DefaultPageSize, DefaultPageSize);
        if (!page->place(width, height, rect.x, rect.y)) {
            return {};
        }
        pages_.push_back(page);
        rect.page = page;
    }
    context_->makeCurrent();
    glBindTexture(GL_TEXTURE_2D, rect.page->name());
    glTexSubImage2D(GL_TEXTURE_2D, 0, rect.x, rect.y, width, height, GL_BGRA, GL_UNSIGNED_BYTE,
                    pixels);
    glBindTexture(GL_TEXTURE_2D, 0);
    return rect;
}

} // namespace tavo
