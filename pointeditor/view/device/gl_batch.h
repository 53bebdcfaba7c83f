#pragma once
// The device's batch: consecutive draws gathered into one vertex and index list that reaches
// OpenGL as one call. The device sends it when something that changes the draws' look comes
// (a render state, a transform, a clear, the end of the scene); order inside it is kept, so the
// picture is the one the separate draws would give.
//
// Textures do not end a batch: with nearest sampling every vertex names its texture's rectangle
// in one atlas page, and with filtered sampling its texture unit, up to MaxBatchTextures.
//
// Lines of world vertices (the 3D pane's point crosses) go to OpenGL as lines, which leave out
// their last pixel; lines of pre-transformed vertices become quads that keep it.

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "pointeditor/view/device/device.h"
#include "pointeditor/view/device/gl_programs.h"
#include "pointeditor/view/device/gl_texture.h"
#include "pointeditor/view/device/repeated_lines.h"

namespace tavo {

class GlBatch {
public:
    enum class Kind { None, WorldTriangles, WorldLines, PaneTriangles };

    // How the vertices of one draw find their texel.
    struct Sampling {
        int16_t rect[4] = {0, 0, 0, 0}; // atlas rectangle; width 0 reads white
        int32_t unit = -1;              // texture unit, -1 for none
    };

    GlBatch() = default;
    ~GlBatch();
    GlBatch(const GlBatch&) = delete;
    GlBatch& operator=(const GlBatch&) = delete;

    // The vertex array and buffers; the context must be current.
    void create();

    // Makes the batch one of `kind` when it is empty and says how a draw sampling `texture`
    // (nullptr for none) reads it; nullopt when the draw cannot join, and the batch must be
    // sent first. An empty batch takes any draw.
    std::optional<Sampling> join(Kind kind, const GlTexture* texture, bool nearest);

    void addFan(std::span<const BlockVertex> vertices, int triangles, const Sampling& sampling);
    void addFan(std::span<const PaneVertex> vertices, int triangles, const Sampling& sampling);
    void addWorldLines(std::span<const BlockVertex> vertices, int lines, const Sampling& sampling);
    // One quad per line; a single opaque line that repeats an earlier one of the run is left
    // out when `repeatsInvisible`.
    void addPaneLines(std::span<const PaneVertex> vertices, int lines, const Sampling& sampling,
                      bool repeatsInvisible);
    // Anything but a pane line ends the run of lines that repeats are looked for in.
    void endLineRun() { repeatedLines_.reset(); }

    bool empty() const { return vertices_.empty(); }
    Kind kind() const { return kind_; }
    // The atlas page that its vertices read, or nullptr.
    const AtlasPage* page() const { return page_; }
    // The textures on units 0.. when it samples filtered.
    std::span<const GLuint> units() const {
        return {textures_.data(), static_cast<std::size_t>(textureCount_)};
    }

    // Uploads the vertices and draws them with the bound program and states, then empties.
    void draw();
    void clear();

private:
    // Adds a vertex and returns its index.
    // A triangle fan of either vertex format, as indexed triangles.
    template <typename Vertex>
    void pushFan(std::span<const Vertex> vertices, int triangles, const Sampling& sampling);
    uint32_t push(float x, float y, float z, float w, uint32_t colour, float u, float v,
                  const Sampling& sampling);

    GLuint vertexArray_ = 0;
    GLuint vertexBuffer_ = 0;
    GLuint indexBuffer_ = 0;

    Kind kind_ = Kind::None;
    std::vector<GlVertex> vertices_;
    std::vector<uint32_t> indices_; // triangles or lines over vertices_
    const AtlasPage* page_ = nullptr;
    std::array<GLuint, MaxBatchTextures> textures_{};
    int textureCount_ = 0;
    RepeatedLineFilter repeatedLines_;
};

} // namespace tavo
