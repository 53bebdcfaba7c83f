#pragma once
// The device's shader programs. All share one vertex shader; they differ in how a fragment
// finds its texel:
//   Plain   no texture in the whole draw: the vertex colour alone;
//   Atlas   nearest texel, wrapped, read by hand from one atlas page (the panes' sampling);
//   Units   textures on separate units with OpenGL's own filtering, for filtered sampling.

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstdint>

namespace tavo {

inline constexpr int MaxBatchTextures = 16; // texture units the Units program reads

// What one vertex looks like to OpenGL: both vertex layouts of the device end up here.
struct GlVertex {
    float x, y, z, w; // world position (w 1), or pixels with z and rhw when pre-transformed
    uint32_t colour;  // ARGB, read as BGRA bytes
    float u, v;
    int16_t rect[4]; // atlas rectangle x, y, width, height; width 0 reads white
    int32_t unit;    // texture unit for the Units program, -1 for none
};
static_assert(sizeof(GlVertex) == 40);

struct GlProgram {
    GLuint name = 0;
    GLint worldViewProjection = -1;
    GLint pretransformed = -1;
};

enum class ProgramKind { Plain, Atlas, Units };

// Compiles and links one program and sets its constant uniforms; name 0 on failure.
GlProgram buildProgram(ProgramKind kind, float pixelShift, int backBufferSize);

// Points the attributes of the bound vertex array at GlVertex fields of the bound buffer.
void describeVertexLayout();

} // namespace tavo
