// The device over OpenGL. Draws are not sent one by one: consecutive draws go into one batch
// and reach OpenGL as one call when something that changes their look comes (a render state,
// a transform, a clear, the end of the scene). Order inside a batch is kept, so the picture is
// the one the separate draws would give. Textures do not end a batch: every vertex names its
// texture's rectangle in the atlas (texture_atlas.h), so the faces of all ten map textures go
// out together.
//
// Coordinates: the back buffer is kept top row first, so rows go straight into the canvas.
// Pixel centres of the device lie at integers, OpenGL's at half integers; the shift is a hair
// under half a pixel so that edges through pixel centres fall the top-left way.
//
// Lines of world vertices (the 3D pane's point crosses) go to OpenGL as lines, which leave out
// their last pixel; lines of pre-transformed vertices become quads that keep it.

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "pointeditor/view/gl_context.h"
#include "pointeditor/view/gl_device.h"
#include "pointeditor/view/gl_programs.h"
#include "pointeditor/view/image_decoder.h"
#include "pointeditor/view/line_coverage.h"
#include "pointeditor/view/repeated_lines.h"
#include "pointeditor/view/texture_atlas.h"

namespace tavo {

namespace {

constexpr int Size = Device::BackBufferSize;
constexpr float TieBreak = 1.0f / 128.0f;
constexpr float PixelShift = 0.5f - TieBreak;

// An axis-parallel line that runs past the back buffer is cut at its edge: the pixels are the
// same, and OpenGL need not clip the triangles. (Back buffer edges lie at -PixelShift and
// Size - PixelShift in device pixels.)
void clampToBackBuffer(PixelQuad& quad) {
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

// R, G, B, A bytes as read back, to the canvas's opaque 0xFFRRGGBB.
inline uint32_t canvasPixel(uint32_t rgba) {
    return 0xFF000000u | (rgba & 0x0000FF00u) | (rgba & 0xFFu) << 16 | (rgba >> 16 & 0xFFu);
}

GLenum glBlend(uint32_t blend) {
    switch (blend) {
    case BlendZero:
        return GL_ZERO;
    case BlendOne:
        return GL_ONE;
    case BlendSrcAlpha:
        return GL_SRC_ALPHA;
    case BlendInvSrcAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    default:
        return GL_ONE;
    }
}

class GlTexture : public Texture {
public:
    // name: the texture with its full mip chain, for filtered sampling; rect: its copy in the
    // atlas, for the nearest sampling the panes use.
    GlTexture(std::shared_ptr<GlContext> context, GLuint name, AtlasRect rect)
        : context_(std::move(context)), name_(name), rect_(std::move(rect)) {}
    ~GlTexture() override {
        context_->makeCurrent();
        glDeleteTextures(1, &name_);
        if (rect_.page) {
            rect_.page->release();
        }
    }
    GlTexture(const GlTexture&) = delete;
    GlTexture& operator=(const GlTexture&) = delete;

    const GlContext* context() const { return context_.get(); }
    GLuint name() const { return name_; }
    const AtlasRect& rect() const { return rect_; }

private:
    std::shared_ptr<GlContext> context_;
    GLuint name_;
    AtlasRect rect_;
};

class GlDevice : public Device {
public:
    GlDevice(Canvas& canvas, std::shared_ptr<GlContext> context)
        : canvas_(canvas), context_(context), atlas_(std::move(context)) {}
    ~GlDevice() override;
    GlDevice(const GlDevice&) = delete;
    GlDevice& operator=(const GlDevice&) = delete;

    bool initialise(std::string& reason); // reason: why not, when it returns false

    void setRenderState(RenderState state, uint32_t value) override;
    void setTextureStageState(TextureStageState state, uint32_t value) override;
    void setTransform(TransformType type, const Matrix& matrix) override;
    // Each draw's vertex type tells its layout; the format is only kept as the caller set it.
    void setVertexFormat(VertexFormat format) override { format_ = format; }
    void setTexture(const Texture* texture) override;
    void drawPrimitiveUP(PrimitiveType type, int primitiveCount,
                         std::span<const BlockVertex> vertices) override;
    void drawPrimitiveUP(PrimitiveType type, int primitiveCount,
                         std::span<const PaneVertex> vertices) override;
    void clear(uint32_t flags, uint32_t colour, float depth) override;
    void beginScene() override {}
    void endScene() override { flush(); }
    PresentResult present(int left, int top) override;
    void reset() override;
    std::unique_ptr<Texture> loadTexture(const std::string& path) override;

private:
    enum class Batch { None, WorldTriangles, WorldLines, PaneTriangles };

    // How the next vertices find their texel.
    struct Sampling {
        int16_t rect[4] = {0, 0, 0, 0};
        int32_t unit = -1;
    };

    // Sends the batch, if any, and starts an empty one.
    void flush();
    void discardBatch();
    // Flushes when the next draw cannot join the batch; says how its vertices sample.
    Sampling prepare(Batch kind);
    bool nearestSampling() const;
    // Whether an opaque line drawn again over itself leaves the pixels as they are.
    bool repeatsAreInvisible() const;
    void applyStates();
    template <typename T> void changeState(T& field, T value);
    // Adds a vertex to the batch and returns its index there.
    uint32_t push(float x, float y, float z, float w, uint32_t colour, float u, float v,
                  const Sampling& sampling);

    Canvas& canvas_;
    std::shared_ptr<GlContext> context_;
    TextureAtlas atlas_;
    GLuint framebuffer_ = 0;
    GLuint colourBuffer_ = 0;
    GLuint depthBuffer_ = 0;
    GlProgram plain_;
    GlProgram atlasProgram_;
    GlProgram units_;
    GLuint vertexArray_ = 0;
    GLuint vertexBuffer_ = 0;
    GLuint indexBuffer_ = 0;
    GLuint sampler_ = 0;

    // Device states as set; they reach OpenGL when a batch is sent.
    bool depthTest_ = true;
    uint32_t cullMode_ = CullCounterClockwise;
    bool blending_ = false;
    uint32_t srcBlend_ = BlendOne;
    uint32_t destBlend_ = BlendZero;
    uint32_t magFilter_ = FilterPoint;
    uint32_t minFilter_ = FilterPoint;
    uint32_t mipFilter_ = FilterNone;
    Matrix world_ = identityMatrix();
    Matrix view_ = identityMatrix();
    Matrix projection_ = identityMatrix();
    VertexFormat format_ = VertexFormat::Block;
    const GlTexture* texture_ = nullptr;

    Batch batch_ = Batch::None;
    std::vector<GlVertex> vertices_;
    std::vector<uint32_t> indices_; // triangles or lines over vertices_
    const AtlasPage* batchPage_ = nullptr;
    std::array<GLuint, MaxBatchTextures> batchTextures_{};
    int batchTextureCount_ = 0;
    RepeatedLineFilter repeatedLines_;
    std::vector<uint32_t> readBack_;
};

GlDevice::~GlDevice() {
    context_->makeCurrent();
    glDeleteSamplers(1, &sampler_);
    glDeleteBuffers(1, &vertexBuffer_);
    glDeleteBuffers(1, &indexBuffer_);
    glDeleteVertexArrays(1, &vertexArray_);
    glDeleteProgram(plain_.name);
    glDeleteProgram(atlasProgram_.name);
    glDeleteProgram(units_.name);
    glDeleteRenderbuffers(1, &depthBuffer_);
    glDeleteRenderbuffers(1, &colourBuffer_);
    glDeleteFramebuffers(1, &framebuffer_);
}

bool GlDevice::initialise(std::string& reason) {
    context_->makeCurrent();
    glGenRenderbuffers(1, &colourBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, Size, Size);
    glGenRenderbuffers(1, &depthBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, Size, Size);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        reason = "the offscreen back buffer is incomplete";
        return false;
    }
    plain_ = buildProgram(ProgramKind::Plain, PixelShift, Size);
    atlasProgram_ = buildProgram(ProgramKind::Atlas, PixelShift, Size);
    units_ = buildProgram(ProgramKind::Units, PixelShift, Size);
    if (plain_.name == 0 || atlasProgram_.name == 0 || units_.name == 0) {
        reason = "a shader program did not build (its log is on standard error)";
        return false;
    }

    glGenVertexArrays(1, &vertexArray_);
    glBindVertexArray(vertexArray_);
    glGenBuffers(1, &vertexBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    describeVertexLayout();
    glGenBuffers(1, &indexBuffer_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);

    glGenSamplers(1, &sampler_);
    glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, GL_REPEAT);

    glViewport(0, 0, Size, Size);
    glDepthFunc(GL_LEQUAL);
    glFrontFace(GL_CCW);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    readBack_.resize(static_cast<std::size_t>(Size) * Size);
    return glGetError() == GL_NO_ERROR;
}

template <typename T> void GlDevice::changeState(T& field, T value) {
    if (field != value) {
        flush();
        field = value;
    }
}

void GlDevice::setRenderState(RenderState state, uint32_t value) {
    switch (state) {
    case RenderState::ZEnable:
        changeState(depthTest_, value != 0);
        break;
    case RenderState::CullMode:
        changeState(cullMode_, value);
        break;
    case RenderState::AlphaBlendEnable:
        changeState(blending_, value != 0);
        break;
    case RenderState::SrcBlend:
        changeState(srcBlend_, value);
        break;
    case RenderState::DestBlend:
        changeState(destBlend_, value);
        break;
    case RenderState::Lighting:
        // There are no lights: vertex colours are used as given, as with lighting off.
        break;
    }
}

void GlDevice::setTextureStageState(TextureStageState state, uint32_t value) {
    // Stage 0 always modulates texture by diffuse; only the sampling can be chosen.
    switch (state) {
    case TextureStageState::MagFilter:
        changeState(magFilter_, value);
        break;
    case TextureStageState::MinFilter:
        changeState(minFilter_, value);
        break;
    case TextureStageState::MipFilter:
        changeState(mipFilter_, value);
        break;
    default:
        break;
    }
}

void GlDevice::setTransform(TransformType type, const Matrix& matrix) {
    flush();
    switch (type) {
    case TransformType::World:
        world_ = matrix;
        break;
    case TransformType::View:
        view_ = matrix;
        break;
    case TransformType::Projection:
        projection_ = matrix;
        break;
    }
}

void GlDevice::setTexture(const Texture* texture) {
    auto* glTexture = dynamic_cast<const GlTexture*>(texture);
    texture_ = glTexture != nullptr && glTexture->context() == context_.get() ? glTexture : nullptr;
}

bool GlDevice::nearestSampling() const {
    return magFilter_ != FilterLinear && minFilter_ != FilterLinear && mipFilter_ == FilterNone;
}

GlDevice::Sampling GlDevice::prepare(Batch kind) {
    if (batch_ != kind) {
        flush();
        batch_ = kind;
    }
    Sampling sampling;
    if (texture_ == nullptr) {
        return sampling;
    }
    if (nearestSampling() && texture_->rect().page) {
        const AtlasRect& rect = texture_->rect();
        if (batchPage_ != nullptr && batchPage_ != rect.page.get()) {
            flush();
            batch_ = kind;
        }
        batchPage_ = rect.page.get();
        sampling.rect[0] = static_cast<int16_t>(rect.x);
        sampling.rect[1] = static_cast<int16_t>(rect.y);
        sampling.rect[2] = static_cast<int16_t>(rect.width);
        sampling.rect[3] = static_cast<int16_t>(rect.height);
        return sampling;
    }
    for (int i = 0; i < batchTextureCount_; ++i) {
        if (batchTextures_[static_cast<std::size_t>(i)] == texture_->name()) {
            sampling.unit = i;
            return sampling;
        }
    }
    if (batchTextureCount_ == MaxBatchTextures) {
        flush();
        batch_ = kind;
    }
    batchTextures_[static_cast<std::size_t>(batchTextureCount_)] = texture_->name();
    sampling.unit = batchTextureCount_++;
    return sampling;
}

uint32_t GlDevice::push(float x, float y, float z, float w, uint32_t colour, float u, float v,
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

void GlDevice::drawPrimitiveUP(PrimitiveType type, int primitiveCount,
                               std::span<const BlockVertex> vertices) {
    if (primitiveCount <= 0) {
        return;
    }
    bool fan = type == PrimitiveType::TriangleFan;
    if (vertices.size() < static_cast<std::size_t>(primitiveCount) + (fan ? 2u : 1u)) {
        return;
    }
    Sampling sampling = prepare(fan ? Batch::WorldTriangles : Batch::WorldLines);
    const auto used = static_cast<std::size_t>(primitiveCount) + (fan ? 2u : 1u);
    const auto first = static_cast<uint32_t>(vertices_.size());
    for (std::size_t k = 0; k < used; ++k) {
        const BlockVertex& p = vertices[k];
        push(p.x, p.y, p.z, 1.0f, p.colour, p.u, p.v, sampling);
    }
    for (uint32_t i = 0; i < static_cast<uint32_t>(primitiveCount); ++i) {
        if (fan) {
            indices_.insert(indices_.end(), {first, first + i + 1, first + i + 2});
        } else {
            indices_.insert(indices_.end(), {first + i, first + i + 1});
        }
    }
}

void GlDevice::drawPrimitiveUP(PrimitiveType type, int primitiveCount,
                               std::span<const PaneVertex> vertices) {
    if (primitiveCount <= 0) {
        return;
    }
    bool fan = type == PrimitiveType::TriangleFan;
    if (vertices.size() < static_cast<std::size_t>(primitiveCount) + (fan ? 2u : 1u)) {
        return;
    }
    Sampling sampling = prepare(Batch::PaneTriangles);
    if (fan || primitiveCount != 1 || !repeatsAreInvisible()) {
        repeatedLines_.reset();
    } else if (repeatedLines_.repeats(vertices[0].x, vertices[0].y, vertices[1].x, vertices[1].y,
                                      vertices[0].z, vertices[0].colour)) {
        return;
    }
    if (fan) {
        const auto first = static_cast<uint32_t>(vertices_.size());
        for (std::size_t k = 0; k < static_cast<std::size_t>(primitiveCount) + 2; ++k) {
            const PaneVertex& p = vertices[k];
            push(p.x, p.y, p.z, p.rhw, p.colour, p.u, p.v, sampling);
        }
        for (uint32_t i = 0; i < static_cast<uint32_t>(primitiveCount); ++i) {
            indices_.insert(indices_.end(), {first, first + i + 1, first + i + 2});
        }
        return;
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(primitiveCount); ++i) {
        const PaneVertex& a = vertices[i];
        const PaneVertex& b = vertices[i + 1];
        bool last = i + 1 == static_cast<std::size_t>(primitiveCount);
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

void GlDevice::applyStates() {
    if (depthTest_) {
        glEnable(GL_DEPTH_TEST);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    // Rows run top first, so a triangle that is clockwise on the device's screen is
    // counter-clockwise to OpenGL: culling counter-clockwise ones removes OpenGL's back faces.
    if (cullMode_ == CullCounterClockwise || cullMode_ == CullClockwise) {
        glEnable(GL_CULL_FACE);
        glCullFace(cullMode_ == CullCounterClockwise ? GL_BACK : GL_FRONT);
    } else {
        glDisable(GL_CULL_FACE);
    }
    if (blending_) {
        glEnable(GL_BLEND);
        glBlendFunc(glBlend(srcBlend_), glBlend(destBlend_));
    } else {
        glDisable(GL_BLEND);
    }
}

bool GlDevice::repeatsAreInvisible() const {
    bool replaces = !blending_ || (srcBlend_ == BlendSrcAlpha && destBlend_ == BlendInvSrcAlpha);
    return replaces && texture_ == nullptr;
}

void GlDevice::discardBatch() {
    repeatedLines_.reset();
    vertices_.clear();
    indices_.clear();
    batch_ = Batch::None;
    batchPage_ = nullptr;
    batchTextureCount_ = 0;
}

void GlDevice::flush() {
    if (vertices_.empty()) {
        discardBatch();
        return;
    }
    context_->makeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glBindVertexArray(vertexArray_);
    applyStates();

    const GlProgram* program = &plain_;
    if (batchTextureCount_ > 0) {
        program = &units_;
        bool linearMin = minFilter_ == FilterLinear;
        GLint min = linearMin ? GL_LINEAR : GL_NEAREST;
        if (mipFilter_ == FilterPoint) {
            min = linearMin ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
        } else if (mipFilter_ == FilterLinear) {
            min = linearMin ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
        }
        glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER,
                            magFilter_ == FilterLinear ? GL_LINEAR : GL_NEAREST);
        glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER, min);
        for (int i = 0; i < batchTextureCount_; ++i) {
            glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
            glBindTexture(GL_TEXTURE_2D, batchTextures_[static_cast<std::size_t>(i)]);
            glBindSampler(static_cast<GLuint>(i), sampler_);
        }
    } else if (batchPage_ != nullptr) {
        program = &atlasProgram_;
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, batchPage_->name());
        glBindSampler(0, 0);
    }
    glUseProgram(program->name);
    bool pretransformed = batch_ == Batch::PaneTriangles;
    glUniform1i(program->pretransformed, pretransformed ? 1 : 0);
    if (!pretransformed) {
        Matrix worldViewProjection = multiply(multiply(world_, view_), projection_);
        // Row vectors times a row-major matrix read the same as OpenGL's column-major matrix
        // times a column vector.
        glUniformMatrix4fv(program->worldViewProjection, 1, GL_FALSE, &worldViewProjection.m[0][0]);
    }
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices_.size() * sizeof(GlVertex)),
                 vertices_.data(), GL_STREAM_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(indices_.size() * sizeof(uint32_t)), indices_.data(),
                 GL_STREAM_DRAW);
    glDrawElements(batch_ == Batch::WorldLines ? GL_LINES : GL_TRIANGLES,
                   static_cast<GLsizei>(indices_.size()), GL_UNSIGNED_INT, nullptr);
    discardBatch();
}

void GlDevice::clear(uint32_t flags, uint32_t colour, float depth) {
    flush();
    context_->makeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
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

PresentResult GlDevice::present(int left, int top) {
    flush();
    context_->makeCurrent();
    if (glGetGraphicsResetStatus() != GL_NO_ERROR) {
        return PresentResult::DeviceLost;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    // Read in the buffer's own byte order (R, G, B, A), which needs no conversion inside the
    // driver; red and blue trade places in the canvas afterwards. A pane that lies wholly in
    // the canvas (every pane does) is read straight into it.
    const bool inside =
        left >= 0 && top >= 0 && left + Size <= Canvas::Width && top + Size <= Canvas::Height;
    if (inside) {
        glPixelStorei(GL_PACK_ROW_LENGTH, Canvas::Width);
        glReadPixels(0, 0, Size, Size, GL_RGBA, GL_UNSIGNED_BYTE, &canvas_.at(left, top));
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        for (int y = 0; y < Size; ++y) {
            uint32_t* row = &canvas_.at(left, top + y);
            for (int i = 0; i < Size; ++i) {
                row[i] = canvasPixel(row[i]);
            }
        }
        return PresentResult::Ok;
    }
    glReadPixels(0, 0, Size, Size, GL_RGBA, GL_UNSIGNED_BYTE, readBack_.data());
    int x0 = std::max(left, 0);
    int x1 = std::min(left + Size, Canvas::Width);
    int y0 = std::max(top, 0);
    int y1 = std::min(top + Size, Canvas::Height);
    for (int y = y0; y < y1; ++y) {
        const uint32_t* source =
            readBack_.data() + static_cast<std::size_t>(y - top) * Size + (x0 - left);
        uint32_t* target = &canvas_.at(x0, y);
        for (int i = 0; i < x1 - x0; ++i) {
            target[i] = canvasPixel(source[i]);
        }
    }
    return PresentResult::Ok;
}

void GlDevice::reset() {
    // An OpenGL context keeps its objects; all that a reset has to undo is a half-built batch.
    discardBatch();
}

std::unique_ptr<Texture> GlDevice::loadTexture(const std::string& path) {
    std::optional<DecodedImage> image = decodeImageFile(path);
    if (!image) {
        return nullptr;
    }
    context_->makeCurrent();
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (image->width > maxSize || image->height > maxSize) {
        return nullptr;
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image->width, image->height, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, image->pixels.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    AtlasRect rect = atlas_.add(image->width, image->height, image->pixels.data());
    if (glGetError() != GL_NO_ERROR || !rect.page) {
        glDeleteTextures(1, &name);
        if (rect.page) {
            rect.page->release();
        }
        return nullptr;
    }
    return std::make_unique<GlTexture>(context_, name, std::move(rect));
}

} // namespace

std::unique_ptr<Device> createGlDevice(Canvas& canvas, DeviceFailure& failure) {
    std::shared_ptr<GlContext> context = createGlContext(failure);
    if (!context) {
        return nullptr;
    }
    auto device = std::make_unique<GlDevice>(canvas, std::move(context));
    if (!device->initialise(failure.reason)) {
        failure.kind = DeviceFailure::InitFailed;
        return nullptr;
    }
    failure = {};
    return device;
}

std::string_view deviceFailureMessage(const DeviceFailure& failure) {
    switch (failure.kind) {
    case DeviceFailure::CreateFailed:
        return "Direct3Dの作成に失敗しました";
    case DeviceFailure::InitFailed:
        return "Direct3Dの初期化に失敗しました";
    case DeviceFailure::None:
        break;
    }
    return {};
}

} // namespace tavo
