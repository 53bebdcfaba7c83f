#pragma once
// The floor that the speed figures are given against: a frame of four empty panes, each
// cleared and presented, with nothing drawn. Measured in the same run as each figure, on a
// device and canvas of its own, so that figures taken on a busy machine still compare.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>

#include "pointeditor/data/pane_layout.h"
#include "pointeditor/view/device/gl_device.h"

namespace tavo::bench {

// Wall and process CPU time (every thread, the rasteriser's included) since construction.
class Stopwatch {
public:
    Stopwatch() : wall_(std::chrono::steady_clock::now()), cpu_(cpuSeconds()) {}
    double wallMilliseconds() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall_)
            .count();
    }
    double cpuMilliseconds() const { return (cpuSeconds() - cpu_) * 1000.0; }

private:
    // The process's CPU time: glibc's clock() reads CLOCK_PROCESS_CPUTIME_ID.
    static double cpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }
    std::chrono::steady_clock::time_point wall_;
    double cpu_;
};

// One floor frame: each pane cleared and presented into its place.
inline void emptyFrame(Device& device) {
    for (PaneOrigin origin : {paneOrigin(PerspectivePane), paneOrigin(TopPane),
                              paneOrigin(FrontPane), paneOrigin(SidePane)}) {
        device.beginScene();
        device.clear(ClearTarget | ClearZBuffer, 0xFF000000u, 1.0f);
        device.endScene();
        device.present(origin.left, origin.top);
    }
}

// Milliseconds of one floor frame, the median of a few short runs.
inline double floorMilliseconds() {
    static auto canvas = std::make_unique<Canvas>();
    static std::unique_ptr<Device> device = [] {
        DeviceFailure failure;
        return createGlDevice(*canvas, failure);
    }();
    if (!device) {
        return 0.0;
    }
    double runs[5];
    for (double& run : runs) {
        constexpr int Frames = 40;
        Stopwatch watch;
        for (int frame = 0; frame < Frames; ++frame) {
            emptyFrame(*device);
        }
        run = watch.wallMilliseconds() / Frames;
    }
    std::sort(std::begin(runs), std::end(runs));
    return runs[2];
}

// Counters of a loop timed by `watch` against the floor measured just before it: wall and CPU
// milliseconds per iteration, the floor, and the wall time as a multiple of the floor.
inline void reportAgainstFloor(benchmark::State& run, const Stopwatch& watch, double floor) {
    const double iterations = static_cast<double>(run.iterations());
    const double wall = watch.wallMilliseconds() / iterations;
    run.counters["ms"] = wall;
    run.counters["cpu_ms"] = watch.cpuMilliseconds() / iterations;
    run.counters["floor_ms"] = floor;
    run.counters["x_floor"] = floor > 0.0 ? wall / floor : 0.0;
}

} // namespace tavo::bench
