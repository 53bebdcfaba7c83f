// The device over OpenGL: the Device calls kept as states, gathered into a batch (gl_batch.h)
// and sent when something that changes their look comes; clears and presents on the back
// buffer (gl_back_buffer.h); textures from gl_texture.h.
//
// Coordinates: the back buffer is kept top row first, so rows go straight into the canvas.
// Pixel centres of the device lie at integers, OpenGL's at half integers; the shift is a hair
// under half a pixel so that edges through pixel centres fall the top-left way.

#include "pointeditor/view/device/gl_device.h"

#include <memory>
#include <string>

#include "pointeditor/view/device/gl_back_buffer.h"
#include "pointeditor/view/device/gl_batch.h"
#include "pointeditor/view/device/gl_context.h"
#include "pointeditor/view/device/gl_programs.h"
#include "pointeditor/view/device/gl_render_states.h"
#include "pointeditor/view/device/gl_texture.h"
#include "pointeditor/view/device/texture_atlas.h"

namespace tavo {

namespace {

constexpr int Size = Device::BackBufferSize;
constexpr float TieBreak = 1.0f / 128.0f;
constexpr float PixelShift = 0.5f - TieBreak;

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
    void setTexture(const Texture* texture) override {
        texture_ = ownTexture(texture, context_.get());
    }
    void drawPrimitiveUP(PrimitiveType type, int primitiveCount,
                         std::span<const BlockVertex> vertices) override;
    void drawPrimitiveUP(PrimitiveType type, int primitiveCount,
                         std::span<const PaneVertex> vertices) override;
    void clear(uint32_t flags, uint32_t colour, float depth) override;
    void beginScene() override {}
    void endScene() override { flush(); }
    PresentResult present(int left, int top) override;
    void keepBackground() override;
    bool restoreBackground() override;
    void reset() override;
    std::unique_ptr<Texture> uploadTexture(const DecodedImage& image) override {
        return uploadGlTexture(context_, atlas_, image);
    }
    std::unique_ptr<Texture> shareTexture(const Texture& texture) override {
        return shareGlTexture(context_, texture);
    }

private:
    // Sends the batch, if any, and starts an empty one.
    void flush();
    // Flushes when the next draw cannot join the batch; says how its vertices sample.
    GlBatch::Sampling prepare(GlBatch::Kind kind);
    template <typename T> void changeState(T& field, T value);
    // Binds the program and textures for the batch's sampling.
    void useProgram();

    Canvas& canvas_;
    std::shared_ptr<GlContext> context_;
    TextureAtlas atlas_;
    GlBackBuffer backBuffer_;
    GlBatch batch_;
    GlProgram plain_;
    GlProgram atlasProgram_;
    GlProgram units_;
    GLuint sampler_ = 0;

    // Device states as set; they reach OpenGL when a batch is sent.
    GlRenderStates states_;
    Matrix world_ = identityMatrix();
    Matrix view_ = identityMatrix();
    Matrix projection_ = identityMatrix();
    VertexFormat format_ = VertexFormat::Block;
    const GlTexture* texture_ = nullptr;
};

GlDevice::~GlDevice() {
    // The back buffer and the batch delete their objects after this, in this context.
    context_->makeCurrent();
    glDeleteSamplers(1, &sampler_);
    glDeleteProgram(plain_.name);
    glDeleteProgram(atlasProgram_.name);
    glDeleteProgram(units_.name);
}

bool GlDevice::initialise(std::string& reason) {
    context_->makeCurrent();
    if (!backBuffer_.create()) {
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
    batch_.create();

    glGenSamplers(1, &sampler_);
    glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, GL_REPEAT);

    glViewport(0, 0, Size, Size);
    glDepthFunc(GL_LEQUAL);
    glFrontFace(GL_CCW);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
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
        changeState(states_.depthTest, value != 0);
        break;
    case RenderState::CullMode:
        changeState(states_.cullMode, value);
        break;
    case RenderState::AlphaBlendEnable:
        changeState(states_.blending, value != 0);
        break;
    case RenderState::SrcBlend:
        changeState(states_.srcBlend, value);
        break;
    case RenderState::DestBlend:
        changeState(states_.destBlend, value);
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
        changeState(states_.magFilter, value);
        break;
    case TextureStageState::MinFilter:
        changeState(states_.minFilter, value);
        break;
    case TextureStageState::MipFilter:
        changeState(states_.mipFilter, value);
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

GlBatch::Sampling GlDevice::prepare(GlBatch::Kind kind) {
    std::optional<GlBatch::Sampling> sampling =
        batch_.join(kind, texture_, states_.nearestSampling());
    if (!sampling) {
        flush();
        sampling = batch_.join(kind, texture_, states_.nearestSampling());
    }
    return *sampling;
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
    if (fan) {
        batch_.addFan(vertices, primitiveCount, prepare(GlBatch::Kind::WorldTriangles));
    } else {
        batch_.addWorldLines(vertices, primitiveCount, prepare(GlBatch::Kind::WorldLines));
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
    GlBatch::Sampling sampling = prepare(GlBatch::Kind::PaneTriangles);
    if (fan) {
        batch_.endLineRun();
        batch_.addFan(vertices, primitiveCount, sampling);
        return;
    }
    batch_.addPaneLines(vertices, primitiveCount, sampling,
                        states_.repeatsAreInvisible() && texture_ == nullptr);
}

void GlDevice::useProgram() {
    const GlProgram* program = &plain_;
    if (!batch_.units().empty()) {
        program = &units_;
        states_.applyFilters(sampler_);
        GLuint unit = 0;
        for (GLuint texture : batch_.units()) {
            glActiveTexture(GL_TEXTURE0 + unit);
            glBindTexture(GL_TEXTURE_2D, texture);
            glBindSampler(unit, sampler_);
            ++unit;
        }
    } else if (batch_.page() != nullptr) {
        program = &atlasProgram_;
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, batch_.page()->name());
        glBindSampler(0, 0);
    }
    glUseProgram(program->name);
    bool pretransformed = batch_.kind() == GlBatch::Kind::PaneTriangles;
    glUniform1i(program->pretransformed, pretransformed ? 1 : 0);
    if (!pretransformed) {
        Matrix worldViewProjection = multiply(multiply(world_, view_), projection_);
        // Row vectors times a row-major matrix read the same as OpenGL's column-major matrix
        // times a column vector.
        glUniformMatrix4fv(program->worldViewProjection, 1, GL_FALSE, &worldViewProjection.m[0][0]);
    }
}

void GlDevice::flush() {
    if (batch_.empty()) {
        batch_.clear();
        return;
    }
    context_->makeCurrent();
    backBuffer_.bind();
    states_.apply();
    useProgram();
    batch_.draw();
}

void GlDevice::clear(uint32_t flags, uint32_t colour, float depth) {
    flush();
    context_->makeCurrent();
    backBuffer_.clear(flags, colour, depth);
}

PresentResult GlDevice::present(int left, int top) {
    flush();
    context_->makeCurrent();
    if (glGetGraphicsResetStatus() != GL_NO_ERROR) {
        return PresentResult::DeviceLost;
    }
    backBuffer_.present(canvas_, left, top);
    return PresentResult::Ok;
}

void GlDevice::keepBackground() {
    flush();
    context_->makeCurrent();
    backBuffer_.keep();
}

bool GlDevice::restoreBackground() {
    flush();
    context_->makeCurrent();
    return backBuffer_.restore();
}

void GlDevice::reset() {
    // An OpenGL context keeps its objects; a reset undoes a half-built batch and, as a lost
    // device's surfaces would be, the kept background.
    batch_.clear();
    backBuffer_.forget();
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
