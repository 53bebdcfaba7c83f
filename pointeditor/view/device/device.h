#pragma once
// The graphics device that the view code draws through: the small part of a Direct3D 8 style
// fixed-function device that the panes use. The view code reads in the device's own terms
// (render states, stage 0, transforms, user-pointer draws, scenes, present); how that becomes
// OpenGL stays inside the gl_* files. Tests derive recording fakes from it.
//
// Conventions every implementation keeps, because the pane drawing code relies on them:
//   - pre-transformed vertices have pixel centres at integer coordinates; triangles follow the
//     top-left fill rule; a line strip of them also draws its last pixel;
//   - after projection, depth is clipped to 0..1; the depth test is less-or-equal with writes;
//   - CullMode::CounterClockwise removes triangles that run counter-clockwise on the screen
//     (y grows downwards);
//   - with no texture bound, stage 0 reads opaque white, so a primitive shows its vertex colour;
//   - colour = texture x diffuse for colour and alpha, sampled nearest with wrap addressing.

#include <cstdint>
#include <span>

#include "pointeditor/data/d3dx_math.h"
#include "pointeditor/data/texture.h"

namespace tavo {

struct DecodedImage;

// The vertex of the 3D pane: world units, transformed by world x view x projection.
struct BlockVertex {
    float x, y, z;
    uint32_t colour; // ARGB
    float u, v;
};
static_assert(sizeof(BlockVertex) == 24);

// The vertex of the 2D panes: already in the back buffer's pixels (rhw 1, z 0).
struct PaneVertex {
    float x, y, z, rhw;
    uint32_t colour; // ARGB
    float u, v;
};
static_assert(sizeof(PaneVertex) == 28);

// The vertex format codes of the two layouts, as the frame selects them.
enum class VertexFormat : uint32_t {
    Block = 0x142, // position, diffuse, one texture coordinate pair
    Pane = 0x144,  // pre-transformed position, diffuse, one texture coordinate pair
};

enum class RenderState { ZEnable, CullMode, Lighting, SrcBlend, DestBlend, AlphaBlendEnable };

// Values of RenderState::CullMode.
enum CullMode : uint32_t { CullNone = 1, CullClockwise = 2, CullCounterClockwise = 3 };

// Values of RenderState::SrcBlend and DestBlend.
enum Blend : uint32_t {
    BlendZero = 1,
    BlendOne = 2,
    BlendSrcAlpha = 5,
    BlendInvSrcAlpha = 6,
};

enum class TextureStageState {
    ColorOp,
    ColorArg1,
    ColorArg2,
    AlphaOp,
    AlphaArg1,
    AlphaArg2,
    MagFilter,
    MinFilter,
    MipFilter,
};

// Values of the stage states that the panes use.
enum TextureOp : uint32_t { OpModulate = 4 };
enum TextureArg : uint32_t { ArgDiffuse = 0, ArgTexture = 2 };
enum TextureFilter : uint32_t { FilterNone = 0, FilterPoint = 1, FilterLinear = 2 };

enum class TransformType { World, View, Projection };

enum class PrimitiveType { LineStrip, TriangleFan };

enum ClearFlags : uint32_t { ClearTarget = 1, ClearZBuffer = 2 };

enum class PresentResult { Ok, DeviceLost };

class Device : public TextureLoader {
public:
    static constexpr int BackBufferSize = 280; // one pane, square

    virtual void setRenderState(RenderState state, uint32_t value) = 0;
    virtual void setTextureStageState(TextureStageState state, uint32_t value) = 0;
    virtual void setTransform(TransformType type, const Matrix& matrix) = 0;
    virtual void setVertexFormat(VertexFormat format) = 0;

    // Binds a texture to stage 0; nullptr binds none. A texture that this device did not make
    // counts as none. The texture must stay alive until the scene is presented.
    virtual void setTexture(const Texture* texture) = 0;

    // Draws from the caller's vertices: a fan of primitiveCount triangles (primitiveCount + 2
    // vertices) or a strip of primitiveCount lines (primitiveCount + 1 vertices). Vertices
    // beyond what the count needs are ignored; too few draws nothing.
    virtual void drawPrimitiveUP(PrimitiveType type, int primitiveCount,
                                 std::span<const BlockVertex> vertices) = 0;
    virtual void drawPrimitiveUP(PrimitiveType type, int primitiveCount,
                                 std::span<const PaneVertex> vertices) = 0;

    // Clears the whole back buffer. colour is ARGB, depth 0..1.
    virtual void clear(uint32_t flags, uint32_t colour, float depth) = 0;
    virtual void beginScene() = 0;
    virtual void endScene() = 0;

    // The back buffer as it is now, colour and depth, kept aside as the panes' background;
    // restoreBackground() puts it back in place of a clear and says whether there was one (none
    // before the first keep, nor after a reset). A device that keeps nothing has the caller
    // draw the background each time.
    virtual void keepBackground() {}
    virtual bool restoreBackground() { return false; }

    // Copies the whole back buffer 1:1 into the canvas with its top-left corner at (left, top);
    // what falls outside the canvas is dropped. DeviceLost means nothing was copied and the
    // device needs reset() before it draws again.
    virtual PresentResult present(int left, int top) = 0;

    // Brings a lost device back with the parameters it was created with. Textures survive.
    virtual void reset() = 0;

    // A texture of the whole image with its full mip chain; nullptr when the device refuses it.
    // Called on the device's thread only.
    virtual std::unique_ptr<Texture> uploadTexture(const DecodedImage& image) = 0;
    // Another texture of `texture`'s image, sharing what it holds, for a second slot that names
    // the same file; nullptr when this device cannot (the image is then uploaded again).
    virtual std::unique_ptr<Texture> shareTexture(const Texture& /*texture*/) { return nullptr; }

    // Decodes on every core, uploads here (texture_set_decoder.cpp).
    std::vector<LoadedTexture> loadTextures(std::span<const std::string> files) final;
};

} // namespace tavo
