#include "pointeditor/view/device/gl_context.h"

#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstring>
#include <string_view>
#include <vector>

namespace tavo {

namespace {

bool hasExtension(const char* list, std::string_view name) {
    if (list == nullptr) {
        return false;
    }
    std::string_view all(list);
    for (std::size_t start = 0; start < all.size();) {
        std::size_t end = all.find(' ', start);
        if (end == std::string_view::npos) {
            end = all.size();
        }
        if (all.substr(start, end - start) == name) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

template <typename F> F eglFunction(const char* name) {
    return reinterpret_cast<F>(eglGetProcAddress(name));
}

// Opens `display` and makes a 3.3 core context on it. nullptr when either step fails; `opened`
// tells whether the display itself came up.
std::shared_ptr<GlContext> contextOn(EGLDisplay display, bool& opened) {
    if (display == EGL_NO_DISPLAY) {
        return nullptr;
    }
    EGLint major = 0;
    EGLint minor = 0;
    if (eglInitialize(display, &major, &minor) != EGL_TRUE) {
        return nullptr;
    }
    opened = true;
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
        return nullptr;
    }
    EGLConfig config = EGL_NO_CONFIG_KHR;
    if (!hasExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_no_config_context")) {
        const EGLint configAttribs[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
        EGLint count = 0;
        if (eglChooseConfig(display, configAttribs, &config, 1, &count) != EGL_TRUE || count < 1) {
            return nullptr;
        }
    }
    const EGLint contextAttribs[] = {EGL_CONTEXT_MAJOR_VERSION,
                                     3,
                                     EGL_CONTEXT_MINOR_VERSION,
                                     3,
                                     EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                     EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                     EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttribs);
    if (context == EGL_NO_CONTEXT) {
        return nullptr;
    }
    if (eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context) != EGL_TRUE) {
        eglDestroyContext(display, context);
        return nullptr;
    }
    return std::make_shared<GlContext>(display, context);
}

// The EGL devices, each with whether it is Mesa's software rasteriser.
struct EglDevice {
    EGLDeviceEXT device;
    bool software;
};

std::vector<EglDevice> listDevices() {
    std::vector<EglDevice> result;
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!hasExtension(clientExtensions, "EGL_EXT_device_enumeration") ||
        !hasExtension(clientExtensions, "EGL_EXT_platform_device")) {
        return result;
    }
    auto queryDevices = eglFunction<PFNEGLQUERYDEVICESEXTPROC>("eglQueryDevicesEXT");
    auto queryDeviceString = eglFunction<PFNEGLQUERYDEVICESTRINGEXTPROC>("eglQueryDeviceStringEXT");
    if (queryDevices == nullptr || queryDeviceString == nullptr) {
        return result;
    }
    EGLDeviceEXT devices[16];
    EGLint count = 0;
    if (queryDevices(16, devices, &count) != EGL_TRUE) {
        return result;
    }
    for (EGLint i = 0; i < count; ++i) {
        const char* extensions = queryDeviceString(devices[i], EGL_EXTENSIONS);
        result.push_back({devices[i], hasExtension(extensions, "EGL_MESA_device_software")});
    }
    return result;
}

EGLDisplay platformDisplay(EGLenum platform, void* nativeDisplay) {
    auto getPlatformDisplay =
        eglFunction<PFNEGLGETPLATFORMDISPLAYEXTPROC>("eglGetPlatformDisplayEXT");
    if (getPlatformDisplay == nullptr) {
        return EGL_NO_DISPLAY;
    }
    return getPlatformDisplay(platform, nativeDisplay, nullptr);
}

std::shared_ptr<GlContext> onDevices(const std::vector<EglDevice>& devices, bool software,
                                     bool& opened) {
    for (const EglDevice& device : devices) {
        if (device.software != software) {
            continue;
        }
        if (auto context =
                contextOn(platformDisplay(EGL_PLATFORM_DEVICE_EXT, device.device), opened)) {
            return context;
        }
    }
    return nullptr;
}

} // namespace

GlContext::~GlContext() {
    if (eglGetCurrentContext() == context_) {
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    // The display stays initialised: EGL hands every caller the same display for the same
    // device, so terminating it would pull it from under other live contexts.
    eglDestroyContext(display_, context_);
}

void GlContext::makeCurrent() const {
    if (eglGetCurrentContext() != context_) {
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_);
    }
}

std::shared_ptr<GlContext> createGlContext(DeviceFailure& failure) {
    bool opened = false;
    const std::vector<EglDevice> devices = listDevices();
    std::shared_ptr<GlContext> context = onDevices(devices, false, opened);
    if (!context && hasExtension(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS),
                                 "EGL_MESA_platform_surfaceless")) {
        context =
            contextOn(platformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY), opened);
    }
    if (!context) {
        context = onDevices(devices, true, opened);
    }
    if (context) {
        failure = {};
    } else if (opened) {
        failure = {DeviceFailure::InitFailed, "no EGL display gave an OpenGL 3.3 core context"};
    } else {
        failure = {DeviceFailure::CreateFailed, "no EGL display could be opened"};
    }
    return context;
}

} // namespace tavo
