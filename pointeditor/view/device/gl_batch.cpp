#include "pointeditor/view/device/gl_batch.h"

#include <algorithm>

#include "pointeditor/view/device/line_coverage.h"

namespace tavo {

namespace {

constexpr int Size = Device::BackBufferSize;
constexpr float TieBreak = 1.0f / 128.0f;

// An axis-parallel line that runs past the back buffer is cut at its edge: the pixels are the
// same, and OpenGL need not clip the triangles. (Back buffer edges lie at -PixelShift and
// Size - PixelShift in device pixels.)
void clampToBackBuffer(PixelQuad& quad) {
    constexpr float PixelShift = 0.5f - TieBreak;
    bool axisParallel = quad.x[0] == quad.x[3] && quad.x[1] == quad.x[2] &&
                        quad.y[0] == quad.y[1] && quad.y[2] == quad.y[3];
    if (!axisParallel) {
        return;
    }
    for (int i = 0; i < 4; ++i) {
        quad.x[i] = std::clamp(quad.x[i], -PixelShift, static_cast<float>(Size) - PixelShift);
        quad.y[i] = std::clamp(quad.y[i], -PixelShift, static_cast<float>(Size) - PixelShift);
    }
}

} // namespace

GlBatch::~GlBatch() {
    glDeleteBuffers(1, &vertexBuffer_);
    glDeleteBuffers(1, &indexBuffer_);
    glDeleteVertexArrays(1, &vertexArray_);
}

void GlBatch::create() {
    glGenVertexArrays(1, &vertexArray_);
    glBindVertexArray(vertexArray_);
    glGenBuffers(1, &vertexBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    describeVertexLayout();
    glGenBuffers(1, &indexBuffer_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
}

std::optional<GlBatch::Sampling> GlBatch::join(Kind kind, const GlTexture* texture, bool nearest) {
    if (kind_ != kind && kind_ != Kind::None) {
        return std::nullopt;
    }
    Sampling sampling;
    if (texture != nullptr && nearest && texture->rect().page) {
        const AtlasRect& rect = texture->rect();
        if (page_ != nullptr && page_ != rect.page.get()) {
            return std::nullopt;
        }
        page_ = rect.page.get();
        sampling.rect[0] = static_cast<int16_t>(rect.x);
        sampling.rect[1] = static_cast<int16_t>(rect.y);
        sampling.rect[2] = static_cast<int16_t>(rect.width);
        sampling.rect[3] = static_cast<int16_t>(rect.height);
    } else if (texture != nullptr) {
        auto end = textures_.begin() + textureCount_;
        auto found = std::find(textures_.begin(), end, texture->name());
        if (found == end && textureCount_ == MaxBatchTextures) {
            return std::nullopt;
        }
        if (found == end) {
            *found = texture->name();
            ++textureCount_;
        }
        sampling.unit = static_cast<int32_t>(found - textures_.begin());
    }
    kind_ = kind;
    return sampling;
}

uint32_t GlBatch::push(float x, float y, float z, float w, uint32_t colour, float u, float v,
                       const Sampling& sampling) {
    vertices_.push_back({x,
                         y,
                         z,
                         w,
                         colour,
                         u,
                         v,
                         {sampling.rect[0], sampling.rect[1], sampling.rect[2], sampling.rect[3]},
                         sampling.unit});
    return static_cast<uint32_t>(vertices_.size() - 1);
}

namespace {

// The position's w: world vertices are untransformed, pane vertices carry their own.
float wOf(const BlockVertex&) {
    return 1.0f;
}
float wOf(const PaneVertex& p) {
    return p.rhw;
}

} // namespace

template <typename Vertex>
void GlBatch::pushFan(std::span<const Vertex> vertices, int triangles, const Sampling& sampling) {
    const auto first = static_cast<uint32_t>(vertices_.size());
    for (std::size_t k = 0; k < static_cast<std::size_t>(triangles) + 2; ++k) {
        const Vertex& p = vertices[k];
        push(p.x, p.y, p.z, wOf(p), p.colour, p.u, p.v, sampling);
    }
    for (uint32_t i = 0; i < static_cast<uint32_t>(triangles); ++i) {
        indices_.insert(indices_.end(), {first, first + i + 1, first + i + 2});
    }
}

void GlBatch::addFan(std::span<const BlockVertex> vertices, int triangles,
                     const Sampling& sampling) {
    pushFan(vertices, triangles, sampling);
}

void GlBatch::addFan(std::span<const PaneVertex> vertices, int triangles,
                     const Sampling& sampling) {
    pushFan(vertices, triangles, sampling);
}

void GlBatch::addWorldLines(std::span<const BlockVertex> vertices, int lines,
                            const Sampling& sampling) {
    const auto first = static_cast<uint32_t>(vertices_.size());
    for (std::size_t k = 0; k < static_cast<std::size_t>(lines) + 1; ++k) {
        const BlockVertex& p = vertices[k];
        push(p.x, p.y, p.z, 1.0f, p.colour, p.u, p.v, sampling);
    }
    for (uint32_t i = 0; i < static_cast<uint32_t>(lines); ++i) {
        indices_.insert(indices_.end(), {first + i, first + i + 1});
    }
}

void GlBatch::addPaneLines(std::span<const PaneVertex> vertices, int lines,
                           const Sampling& sampling, bool repeatsInvisible) {
    if (lines != 1 || !repeatsInvisible) {
        repeatedLines_.reset();
    } else if (repeatedLines_.repeats(vertices[0].x, vertices[0].y, vertices[1].x, vertices[1].y,
                                      vertices[0].z, vertices[0].colour)) {
        return;
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(lines); ++i) {
        const PaneVertex& a = vertices[i];
        const PaneVertex& b = vertices[i + 1];
        bool last = i + 1 == static_cast<std::size_t>(lines);
        PixelQuad quad = lineCoverage(a.x, a.y, b.x, b.y, last);
        clampToBackBuffer(quad);
        // The panes draw every line in one colour, so the start's colour serves the quad.
        uint32_t corner[4];
        for (int c = 0; c < 4; ++c) {
            corner[c] = push(quad.x[c], quad.y[c], a.z, a.rhw, a.colour, a.u, a.v, sampling);
        }
        indices_.insert(indices_.end(),
                        {corner[0], corner[1], corner[2], corner[0], corner[2], corner[3]});
    }
}

void GlBatch::draw() {
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices_.size() * sizeof(GlVertex)),
                 vertices_.data(), GL_STREAM_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(indices_.size() * sizeof(uint32_t)), indices_.data(),
                 GL_STREAM_DRAW);
    glDrawElements(kind_ == Kind::WorldLines ? GL_LINES : GL_TRIANGLES,
                   static_cast<GLsizei>(indices_.size()), GL_UNSIGNED_INT, nullptr);
    clear();
}

void GlBatch::clear() {
    repeatedLines_.reset();
    vertices_.clear();
    indices_.clear();
    kind_ = Kind::None;
    page_ = nullptr;
    textureCount_ = 0;
}

} // namespace tavo
