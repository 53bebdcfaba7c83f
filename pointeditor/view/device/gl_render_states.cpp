#include "pointeditor/view/device/gl_render_states.h"

namespace tavo {

namespace {

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

} // namespace

bool GlRenderStates::nearestSampling() const {
    return magFilter != FilterLinear && minFilter != FilterLinear && mipFilter == FilterNone;
}

bool GlRenderStates::repeatsAreInvisible() const {
    return !blending || (srcBlend == BlendSrcAlpha && destBlend == BlendInvSrcAlpha);
}

void GlRenderStates::apply() const {
    if (depthTest) {
        glEnable(GL_DEPTH_TEST);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    // Rows run top first, so a triangle that is clockwise on the device's screen is
    // counter-clockwise to OpenGL: culling counter-clockwise ones removes OpenGL's back faces.
    if (cullMode == CullCounterClockwise || cullMode == CullClockwise) {
        glEnable(GL_CULL_FACE);
        glCullFace(cullMode == CullCounterClockwise ? GL_BACK : GL_FRONT);
    } else {
        glDisable(GL_CULL_FACE);
    }
    if (blending) {
        glEnable(GL_BLEND);
        glBlendFunc(glBlend(srcBlend), glBlend(destBlend));
    } else {
        glDisable(GL_BLEND);
    }
}

void GlRenderStates::applyFilters(GLuint sampler) const {
    bool linearMin = minFilter == FilterLinear;
    GLint min = linearMin ? GL_LINEAR : GL_NEAREST;
    if (mipFilter == FilterPoint) {
        min = linearMin ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    } else if (mipFilter == FilterLinear) {
        min = linearMin ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    }
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER,
                        magFilter == FilterLinear ? GL_LINEAR : GL_NEAREST);
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, min);
}

} // namespace tavo
