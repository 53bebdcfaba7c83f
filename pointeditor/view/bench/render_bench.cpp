// A whole frame of the four panes through the real device, presents included: the heaviest
// scene the editor can hold, and the empty one it starts with; each against the floor, which
// is measured on its own too.

#include <benchmark/benchmark.h>

#include "heaviest_scene.h"
#include "pane_floor.h"
#include "pointeditor/view/point_markers.h"
#include "pointeditor/view/render_panes.h"

namespace tavo {
namespace {

// Frames of the heaviest scene or of the editor as it starts: every pane drawn, as without
// retained panes; or only the floor's empty frame.
void BM_Frame(benchmark::State& run) {
    const bool heaviest = run.range(0) != 0, floorOnly = run.range(1) != 0;
    bench::Scene scene;
    if (!scene.device) {
        run.SkipWithError("no device");
        return;
    }
    if (heaviest) {
        bench::fillHeaviestScene(*scene.state, scene.dir);
        renderPanes(*scene.state, {*scene.device});
        run.counters["linkLines"] = buildLinkLines(*scene.state).count;
    }
    // The floor against a floor run just before is about 1 when the machine is steady.
    const double floor = bench::floorMilliseconds();
    bench::Stopwatch watch;
    for (auto _ : run) {
        if (floorOnly) {
            bench::emptyFrame(*scene.device);
        } else {
            renderPanes(*scene.state, {*scene.device});
        }
    }
    bench::reportAgainstFloor(run, watch, floor);
}
BENCHMARK(BM_Frame)
    ->ArgNames({"heaviest", "floor"})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace tavo

BENCHMARK_MAIN();
