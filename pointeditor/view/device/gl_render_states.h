#pragma once
// The device's render states and stage-0 sampling as the view code set them, and how they
// become OpenGL state. They are only kept while draws gather; apply() sends them when a batch
// goes out.

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstdint>

#include "pointeditor/view/device/device.h"

namespace tavo {

struct GlRenderStates {
    bool depthTest = true;
    uint32_t cullMode = CullCounterClockwise;
    bool blending = false;
    uint32_t srcBlend = BlendOne;
    uint32_t destBlend = BlendZero;
    uint32_t magFilter = FilterPoint;
    uint32_t minFilter = FilterPoint;
    uint32_t mipFilter = FilterNone;

    // Whether stage 0 samples the nearest texel of the top level, as the atlas does.
    bool nearestSampling() const;
    // Whether an opaque untextured line drawn again over itself leaves the pixels as they are.
    bool repeatsAreInvisible() const;

    // Depth test, culling and blending.
    void apply() const;
    // The filters, on a sampler object.
    void applyFilters(GLuint sampler) const;
};

} // namespace tavo
