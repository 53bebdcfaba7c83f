#pragma once
// One EGL surfaceless context with OpenGL 3.3 core. Shared between the device and every texture
// it made, so that whichever of them goes last destroys it.

#include <EGL/egl.h>

#include <memory>

#include "pointeditor/view/device/gl_device.h"

namespace tavo {

class GlContext {
public:
    GlContext(EGLDisplay display, EGLContext context) : display_(display), context_(context) {}
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    // Makes this context current on the calling thread when it is not; several devices (tests
    // make many) may live side by side.
    void makeCurrent() const;

private:
    EGLDisplay display_;
    EGLContext context_;
};

// Tries, in order: a hardware EGL device, the display Mesa picks for the surfaceless platform,
// and Mesa's software device. `failure` tells CreateFailed when no display opened at all and
// InitFailed when displays opened but none gave a context.
std::shared_ptr<GlContext> createGlContext(DeviceFailure& failure);

} // namespace tavo
