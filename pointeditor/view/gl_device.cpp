// The device over OpenGL. Draws are not sent one by one: consecutive draws go into one batch
// and reach OpenGL as one call when something that changes their look comes (a render state,
// a transform, a clear, the end of the scene). Order inside a batch is kept, so the picture is
// the one the separate draws would give. Textures do not end a batch: each vertex names the
// texture unit its face samples, and a batch may use up to MaxBatchTextures textures.
//
// Coordinates: the back buffer is kept top row first, so rows go straight into the canvas.
// Pixel centres of the device lie at integers, OpenGL's at half integers; the shift is a hair
// under half a pixel so that edges through pixel centres fall the top-left way.

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "pointeditor/view/gl_context.h"
#include "pointeditor/view/gl_device.h"
#include "pointeditor/view/image_decoder.h"
#include "pointeditor/view/line_coverage.h"

namespace tavo {

namespace {

constexpr int Size = Device::BackBufferSize;
constexpr int MaxBatchTextures = 16;
constexpr float TieBreak = 1.0f / 128.0f;
constexpr float PixelShift = 0.5f - TieBreak;

// What one vertex looks like to OpenGL: both layouts of the device end up here.
struct GlVertex {
    float x, y, z, w; // clip position, or pixel position with z and rhw when pre-transformed
    uint32_t colour;  // ARGB, read as BGRA bytes
    float u, v;
    int32_t unit; // texture unit, -1 for none
};
static_assert(sizeof(GlVertex) == 32);

const char* const VertexShader = R"(#version 330 core
layout(location = 0) in vec4 position;
layout(location = 1) in vec4 colour;
layout(location = 2) in vec2 texCoord;
layout(location = 3) in int unit;
uniform mat4 worldViewProjection;
uniform bool pretransformed;
uniform float pixelShift;
uniform float backBufferSize;
out vec4 vColour;
out vec2 vTexCoord;
flat out int vUnit;
void main() {
    float toNdc = 2.0 / backBufferSize;
    if (pretransformed) {
        vec2 pixel = position.xy + vec2(pixelShift);
        gl_Position = vec4(pixel * toNdc - 1.0, position.z * 2.0 - 1.0, 1.0);
    } else {
        vec4 clip = worldViewProjection * vec4(position.xyz, 1.0);
        float shift = pixelShift * toNdc * clip.w;
        gl_Position = vec4(clip.x + shift, -clip.y + shift, clip.z * 2.0 - clip.w, clip.w);
    }
    vColour = colour;
    vTexCoord = texCoord;
    vUnit = unit;
}
)";

std::string fragmentShader() {
    std::string source = "#version 330 core\n"
                         "in vec4 vColour;\n"
                         "in vec2 vTexCoord;\n"
                         "flat in int vUnit;\n"
                         "out vec4 fragColour;\n";
    for (int i = 0; i < MaxBatchTextures; ++i) {
        source += "uniform sampler2D texture" + std::to_string(i) + ";\n";
    }
    source += "void main() {\n"
              "    vec4 texel = vec4(1.0);\n"
              "    switch (vUnit) {\n";
    for (int i = 0; i < MaxBatchTextures; ++i) {
        std::string n = std::to_string(i);
        source += "    case " + n + ": texel = texture(texture" + n + ", vTexCoord); break;\n";
    }
    source += "    default: break;\n"
              "    }\n"
              "    fragColour = texel * vColour;\n"
              "}\n";
    return source;
}

GLuint compile(GLenum type, const char* source) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        glDeleteShader(shader);
        return 0;
    }
    return shader;
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
    GlTexture(std::shared_ptr<GlContext> context, GLuint name)
        : context_(std::move(context)), name_(name) {}
    ~GlTexture() override {
        context_->makeCurrent();
        glDeleteTextures(1, &name_);
    }
    GlTexture(const GlTexture&) = delete;
    GlTexture& operator=(const GlTexture&) = delete;

    const GlContext* context() const { return context_.get(); }
    GLuint name() const { return name_; }

  private:
    std::shared_ptr<GlContext> context_;
    GLuint name_;
};

class GlDevice : public Device {
  public:
    GlDevice(Canvas& canvas, std::shared_ptr<GlContext> context)
        : canvas_(canvas), context_(std::move(context)) {}
    ~GlDevice() override;
    GlDevice(const GlDevice&) = delete;
    GlDevice& operator=(const GlDevice&) = delete;

    bool initialise();

    void setRenderState(RenderState state, uint32_t value) override;
    void setTextureStageState(TextureStageState state, uint32_t value) override;
    void setTransform(TransformType type, const Matrix& matrix) override;
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

    // Sends the batch, if any, and starts an empty one.
    void flush();
    // Flushes when the next draw cannot join the batch; returns the texture unit for it.
    int prepare(Batch kind);
    void applyStates();
    template <typename T> bool changeState(T& field, T value);

    Canvas& canvas_;
    std::shared_ptr<GlContext> context_;
    GLuint framebuffer_ = 0;
    GLuint colourBuffer_ = 0;
    GLuint depthBuffer_ = 0;
    GLuint program_ = 0;
    GLuint vertexArray_ = 0;
    GLuint vertexBuffer_ = 0;
    GLuint sampler_ = 0;
    GLint worldViewProjectionLocation_ = -1;
    GLint pretransformedLocation_ = -1;

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
    GLuint texture_ = 0;

    Batch batch_ = Batch::None;
    std::vector<GlVertex> vertices_;
    std::array<GLuint, MaxBatchTextures> batchTextures_{};
    int batchTextureCount_ = 0;
    std::vector<uint32_t> readBack_;
};

GlDevice::~GlDevice() {
    context_->makeCurrent();
    glDeleteSamplers(1, &sampler_);
    glDeleteBuffers(1, &vertexBuffer_);
    glDeleteVertexArrays(1, &vertexArray_);
    glDeleteProgram(program_);
    glDeleteRenderbuffers(1, &depthBuffer_);
    glDeleteRenderbuffers(1, &colourBuffer_);
    glDeleteFramebuffers(1, &framebuffer_);
}

bool GlDevice::initialise() {
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
        return false;
    }

    GLuint vertex = compile(GL_VERTEX_SHADER, VertexShader);
    std::string fragmentSource = fragmentShader();
    GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentSource.c_str());
    if (vertex == 0 || fragment == 0) {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return false;
    }
    program_ = glCreateProgram();
    glAttachShader(program_, vertex);
    glAttachShader(program_, fragment);
    glLinkProgram(program_);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        return false;
    }
    glUseProgram(program_);
    worldViewProjectionLocation_ = glGetUniformLocation(program_, "worldViewProjection");
    pretransformedLocation_ = glGetUniformLocation(program_, "pretransformed");
    glUniform1f(glGetUniformLocation(program_, "pixelShift"), PixelShift);
    glUniform1f(glGetUniformLocation(program_, "backBufferSize"), static_cast<float>(Size));
    for (int i = 0; i < MaxBatchTextures; ++i) {
        std::string name = "texture" + std::to_string(i);
        glUniform1i(glGetUniformLocation(program_, name.c_str()), i);
    }

    glGenVertexArrays(1, &vertexArray_);
    glBindVertexArray(vertexArray_);
    glGenBuffers(1, &vertexBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(GlVertex),
                          reinterpret_cast<const void*>(offsetof(GlVertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(GlVertex),
                          reinterpret_cast<const void*>(offsetof(GlVertex, colour)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(GlVertex),
                          reinterpret_cast<const void*>(offsetof(GlVertex, u)));
    glEnableVertexAttribArray(3);
    glVertexAttribIPointer(3, 1, GL_INT, sizeof(GlVertex),
                           reinterpret_cast<const void*>(offsetof(GlVertex, unit)));

    glGenSamplers(1, &sampler_);
    glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, GL_REPEAT);
    for (int i = 0; i < MaxBatchTextures; ++i) {
        glBindSampler(static_cast<GLuint>(i), sampler_);
    }

    glViewport(0, 0, Size, Size);
    glDepthFunc(GL_LEQUAL);
    glFrontFace(GL_CCW);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    readBack_.resize(static_cast<std::size_t>(Size) * Size);
    return glGetError() == GL_NO_ERROR;
}

template <typename T> bool GlDevice::changeState(T& field, T value) {
    if (field == value) {
        return false;
    }
    flush();
    field = value;
    return true;
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
    // Stage 0 always modulates texture by diffuse; only the sampling is configurable.
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
    texture_ =
        glTexture != nullptr && glTexture->context() == context_.get() ? glTexture->name() : 0;
}

int GlDevice::prepare(Batch kind) {
    if (batch_ != kind) {
        flush();
        batch_ = kind;
    }
    if (texture_ == 0) {
        return -1;
    }
    for (int i = 0; i < batchTextureCount_; ++i) {
        if (batchTextures_[static_cast<std::size_t>(i)] == texture_) {
            return i;
        }
    }
    if (batchTextureCount_ == MaxBatchTextures) {
        flush();
        batch_ = kind;
    }
    batchTextures_[static_cast<std::size_t>(batchTextureCount_)] = texture_;
    return batchTextureCount_++;
}

void GlDevice::drawPrimitiveUP(PrimitiveType type, int primitiveCount,
                               std::span<const BlockVertex> vertices) {
    std::size_t needed =
        static_cast<std::size_t>(primitiveCount) + (type == PrimitiveType::TriangleFan ? 2u : 1u);
    if (primitiveCount <= 0 || vertices.size() < needed) {
        return;
    }
    int unit =
        prepare(type == PrimitiveType::TriangleFan ? Batch::WorldTriangles : Batch::WorldLines);
    auto add = [&](const BlockVertex& v) {
        vertices_.push_back({v.x, v.y, v.z, 1.0f, v.colour, v.u, v.v, unit});
    };
    for (int i = 0; i < primitiveCount; ++i) {
        auto k = static_cast<std::size_t>(i);
        if (type == PrimitiveType::TriangleFan) {
            add(vertices[0]);
            add(vertices[k + 1]);
            add(vertices[k + 2]);
        } else {
            add(vertices[k]);
            add(vertices[k + 1]);
        }
    }
}

void GlDevice::drawPrimitiveUP(PrimitiveType type, int primitiveCount,
                               std::span<const PaneVertex> vertices) {
    std::size_t needed =
        static_cast<std::size_t>(primitiveCount) + (type == PrimitiveType::TriangleFan ? 2u : 1u);
    if (primitiveCount <= 0 || vertices.size() < needed) {
        return;
    }
    int unit = prepare(Batch::PaneTriangles);
    auto add = [&](float x, float y, const PaneVertex& v) {
        vertices_.push_back({x, y, v.z, v.rhw, v.colour, v.u, v.v, unit});
    };
    for (int i = 0; i < primitiveCount; ++i) {
        auto k = static_cast<std::size_t>(i);
        if (type == PrimitiveType::TriangleFan) {
            const PaneVertex* corners[] = {&vertices[0], &vertices[k + 1], &vertices[k + 2]};
            for (const PaneVertex* corner : corners) {
                add(corner->x, corner->y, *corner);
            }
            continue;
        }
        const PaneVertex& a = vertices[k];
        const PaneVertex& b = vertices[k + 1];
        PixelQuad quad = lineCoverage(a.x, a.y, b.x, b.y, i == primitiveCount - 1);
        // The panes draw every line in one colour, so the start's colour serves the quad.
        for (int corner : {0, 1, 2, 0, 2, 3}) {
            add(quad.x[corner], quad.y[corner], a);
        }
    }
}

void GlDevice::applyStates() {
    if (depthTest_) {
        glEnable(GL_DEPTH_TEST);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    // Our rows run top first, so a triangle that is clockwise on the device's screen is
    // counter-clockwise to OpenGL.
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
    bool linearMag = magFilter_ == FilterLinear;
    bool linearMin = minFilter_ == FilterLinear;
    GLint min = linearMin ? GL_LINEAR : GL_NEAREST;
    if (mipFilter_ == FilterPoint) {
        min = linearMin ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    } else if (mipFilter_ == FilterLinear) {
        min = linearMin ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    }
    glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, linearMag ? GL_LINEAR : GL_NEAREST);
    glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER, min);
}

void GlDevice::flush() {
    if (vertices_.empty()) {
        batch_ = Batch::None;
        batchTextureCount_ = 0;
        return;
    }
    context_->makeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glUseProgram(program_);
    glBindVertexArray(vertexArray_);
    applyStates();
    bool pretransformed = batch_ == Batch::PaneTriangles;
    glUniform1i(pretransformedLocation_, pretransformed ? 1 : 0);
    if (!pretransformed) {
        Matrix worldViewProjection = multiply(multiply(world_, view_), projection_);
        glUniformMatrix4fv(worldViewProjectionLocation_, 1, GL_FALSE, &worldViewProjection.m[0][0]);
    }
    for (int i = 0; i < batchTextureCount_; ++i) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
        glBindTexture(GL_TEXTURE_2D, batchTextures_[static_cast<std::size_t>(i)]);
    }
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices_.size() * sizeof(GlVertex)),
                 vertices_.data(), GL_STREAM_DRAW);
    glDrawArrays(batch_ == Batch::WorldLines ? GL_LINES : GL_TRIANGLES, 0,
                 static_cast<GLsizei>(vertices_.size()));
    vertices_.clear();
    batch_ = Batch::None;
    batchTextureCount_ = 0;
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
    glReadPixels(0, 0, Size, Size, GL_BGRA, GL_UNSIGNED_BYTE, readBack_.data());
    int x0 = std::max(left, 0);
    int x1 = std::min(left + Size, Canvas::Width);
    int y0 = std::max(top, 0);
    int y1 = std::min(top + Size, Canvas::Height);
    for (int y = y0; y < y1; ++y) {
        const uint32_t* source = readBack_.data() + static_cast<std::size_t>(y - top) * Size;
        for (int x = x0; x < x1; ++x) {
            canvas_.at(x, y) = source[x - left] | 0xFF000000u;
        }
    }
    return PresentResult::Ok;
}

void GlDevice::reset() {
    // An OpenGL context keeps its objects; all that a reset has to undo is a half-built batch.
    vertices_.clear();
    batch_ = Batch::None;
    batchTextureCount_ = 0;
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
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        return nullptr;
    }
    return std::make_unique<GlTexture>(context_, name);
}

} // namespace

std::unique_ptr<Device> createGlDevice(Canvas& canvas, DeviceFailure& failure) {
    std::shared_ptr<GlContext> context = createGlContext(failure);
    if (!context) {
        return nullptr;
    }
    auto device = std::make_unique<GlDevice>(canvas, std::move(context));
    if (!device->initialise()) {
        failure = DeviceFailure::InitFailed;
        return nullptr;
    }
    failure = DeviceFailure::None;
    return device;
}

std::string_view deviceFailureMessage(DeviceFailure failure) {
    switch (failure) {
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
