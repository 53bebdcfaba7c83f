#pragma once
// What a frame draws into, apart from the state it draws: the device that renders the panes and,
// when the canvas keeps its pixels between frames, the memory of what each pane shows there.
// The shell's device session owns both; tests make their own.

namespace tavo {

class Device;
class RetainedPanes;

struct FrameTargets {
    Device& device;
    // Null draws every pane in every frame.
    RetainedPanes* retainedPanes = nullptr;
};

} // namespace tavo
