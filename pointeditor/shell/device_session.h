#pragma once
// The editor's two output channels and their life: the overlay font, the text surface of the
// frames on the canvas, and the graphics device that renders the panes into it.

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/display/text_surface.h"
#include "pointeditor/view/device/canvas.h"
#include "pointeditor/view/device/gl_device.h"
#include "pointeditor/view/frame_targets.h"
#include "pointeditor/view/pane_redraw.h"

namespace tavo {

class TextOverlay;

using DeviceFactory = std::function<std::unique_ptr<Device>(Canvas&, DeviceFailure&)>;

class DeviceSession : public TextSurface {
public:
    explicit DeviceSession(Canvas& canvas, DeviceFactory factory = createGlDevice);
    ~DeviceSession() override;
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Once, before the window shows: running = 1, the map and point tables emptied, the font,
    // the device. When no device can be made the user is told in a box without owner (its text
    // in Japanese whatever the language), and running goes back to 0; the font stays.
    void initDevice(EditorState& state);

    // Once, at the end; safe whatever exists. The textures go before the device that made them.
    void releaseDevice(EditorState& state);

    // Overlay text onto the canvas; nothing before the font exists or after it is released.
    void drawText(int x, int y, std::string_view text, uint32_t textColour,
                  uint32_t backColour) override;

    // The device and the retained panes while the device exists, else null.
    const FrameTargets* frameTargets() const { return targets_ ? &*targets_ : nullptr; }

private:
    Canvas& canvas_;
    DeviceFactory factory_;
    std::unique_ptr<TextOverlay> font_;
    std::unique_ptr<Device> device_;
    RetainedPanes retainedPanes_; // what the canvas's panes show, so that frames skip the rest
    std::optional<FrameTargets> targets_;
};

} // namespace tavo
