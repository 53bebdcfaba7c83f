#include "pointeditor/shell/device_session.h"

#include <cstdio>
#include <string>

#include "pointeditor/data/platform.h"
#include "pointeditor/shell/text_overlay.h"

namespace tavo {

DeviceSession::DeviceSession(Canvas& canvas, DeviceFactory factory)
    : canvas_(canvas), factory_(std::move(factory)) {}

DeviceSession::~DeviceSession() = default;

void DeviceSession::initDevice(EditorState& state) {
    state.running = 1;
    emptyEditorTables(state);
    font_ = std::make_unique<TextOverlay>(canvas_);

    DeviceFailure failure;
    device_ = factory_(canvas_, failure);
    if (device_ == nullptr) {
        if (failure.kind == DeviceFailure::None) {
            failure.kind = DeviceFailure::InitFailed;
        }
        // The box says what the user needs; the log line beside it also says why.
        std::fprintf(stderr, "pointeditor: %s: %s\n",
                     std::string(deviceFailureMessage(failure)).c_str(),
                     failure.reason.empty() ? "no reason given" : failure.reason.c_str());
        if (state.platform != nullptr) {
            state.platform->messageBox(deviceFailureMessage(failure), "ERROR", BoxButtons::Ok,
                                       BoxIcon::Error, true);
        }
        state.running = 0;
        return;
    }
    state.textureLoader = device_.get();
    targets_.emplace(FrameTargets{*device_, &retainedPanes_});
}

void DeviceSession::releaseDevice(EditorState& state) {
    font_.reset();
    for (auto& texture : state.textures) {
        texture.reset();
    }
    state.textureLoader = nullptr;
    targets_.reset();
    device_.reset();
}

void DeviceSession::drawText(int x, int y, std::string_view text, uint32_t textColour,
                             uint32_t backColour) {
    if (font_ != nullptr) {
        font_->drawText(x, y, text, textColour, backColour);
    }
}

} // namespace tavo
