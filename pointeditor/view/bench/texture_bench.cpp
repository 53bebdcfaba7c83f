// Loading a map: 160 textured blocks naming ten 1024 x 1024 JPEGs, from LOAD BLOCK to a drawn
// frame (every texture decoded, uploaded and used), against the floor of pane_floor.h; and the
// ten files decoded one after another on one core.

#include <benchmark/benchmark.h>

#include "heaviest_scene.h"
#include "pane_floor.h"
#include "pointeditor/data/block_file.h"
#include "pointeditor/view/image/image_decoder.h"
#include "pointeditor/view/render_panes.h"
#include "samples/sample_mission.h"

namespace tavo {
namespace {

constexpr int Side = 1024;

// The town's .bd1 and its ten JPEGs t0.jpg .. t9.jpg, written once.
struct MapFolder {
    testing::ScratchDirectory dir;
    std::string map = dir.at("town.bd1");
    std::vector<std::vector<uint8_t>> jpegs;

    MapFolder() {
        std::vector<std::string> names;
        std::vector<BlockRecord> blocks;
        for (int t = 0; t < TextureCount; ++t) {
            names.push_back("t" + std::to_string(t) + ".jpg");
            jpegs.push_back(testing::encode(bench::patternImage(Side, t), "JPG"));
            dir.write(names.back(), jpegs.back());
        }
        for (int i = 0; i < MaxBlocks; ++i) {
            blocks.push_back(bench::townBlock(i));
        }
        dir.write("town.bd1", sample::encodeBlockFile(names, blocks));
    }
};

const MapFolder& folder() {
    static const MapFolder written;
    return written;
}

void BM_LoadMapOfTenJpegs(benchmark::State& run) {
    bench::Scene scene;
    if (!scene.device) {
        run.SkipWithError("no device");
        return;
    }
    const double floor = bench::floorMilliseconds();
    bench::Stopwatch watch;
    for (auto _ : run) {
        auto findings = loadBlockFile(*scene.state, folder().map);
        renderPanes(*scene.state, {*scene.device});
        if (!findings || !findings->empty()) {
            run.SkipWithError("a texture did not load");
        }
    }
    bench::reportAgainstFloor(run, watch, floor);
}
BENCHMARK(BM_LoadMapOfTenJpegs)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_DecodeTenJpegsOneByOne(benchmark::State& run) {
    for (auto _ : run) {
        for (const auto& bytes : folder().jpegs) {
            benchmark::DoNotOptimize(decodeImage(bytes));
        }
    }
}
BENCHMARK(BM_DecodeTenJpegsOneByOne)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace tavo

BENCHMARK_MAIN();
