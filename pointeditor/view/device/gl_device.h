#pragma once
// The device over OpenGL 3.3 core in a surfaceless EGL context: a 280 x 280 offscreen back
// buffer (RGBA8 colour, 16-bit depth) presented into the canvas. Creation tries a hardware
// context first, then the display the system picks, then Mesa's software rasteriser.

#include <memory>
#include <string>
#include <string_view>

#include "pointeditor/view/device/canvas.h"
#include "pointeditor/view/device/device.h"

namespace tavo {

struct DeviceFailure {
    enum Kind {
        None,
        CreateFailed, // no EGL display could be opened at all
        InitFailed,   // displays exist, but none gave a working OpenGL 3.3 core context
    };
    Kind kind = None;
    std::string reason; // what went wrong, for the log; the box shows only the kind's text
};

// The device drawing into `canvas`, which must outlive it; nullptr with `failure` set when no
// context could be made. Textures it makes may outlive the device: each keeps the context.
std::unique_ptr<Device> createGlDevice(Canvas& canvas, DeviceFailure& failure);

// The text shown to the user (caption "ERROR") for a failure; empty for None.
std::string_view deviceFailureMessage(const DeviceFailure& failure);

} // namespace tavo
