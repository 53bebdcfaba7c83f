// How long `pointtool check` takes, as a shell runs it (file reads and output included), on the
// worst point file: 200 points that all share one id and all link to it twice, so every link is
// an error naming all 200 holders, every point lies outside a full 160-block map, and the JSON
// or text output is as long as it gets.

#include <benchmark/benchmark.h>
#include <sstream>

#include "pointeditor/data/block_file.h"
#include "pointeditor/data/point_file.h"
#include "samples/sample_mission.h"
#include "tests/support/scene_builders.h"
#include "tests/support/scratch_directory.h"
#include "tools/pointtool/commands.h"

namespace {

using namespace tavo;

void checkCommand(benchmark::State& state, bool json) {
    std::vector<PointRecord> points;
    for (int i = 0; i < MaxPoints; ++i) {
        points.push_back(testing::point(1000.0f + i, 0, 0, 8, 5, 5, 5));
    }
    std::vector<BlockRecord> blocks;
    for (int i = 0; i < MaxBlocks; ++i) {
        blocks.push_back(testing::box(i, 0, 0, i + 1, 1, 1));
    }
    const testing::ScratchDirectory dir;
    std::vector<std::string> arguments{"pointtool", "check",
                                       dir.write("worst.pd1", encodePointFile(points)), "--map",
                                       dir.write("map.bd1", sample::encodeBlockFile({}, blocks))};
    if (json) {
        arguments.emplace_back("--json");
    }
    for (auto _ : state) {
        std::ostringstream out, err;
        benchmark::DoNotOptimize(pointtool::runPointTool(arguments, out, err));
    }
}
BENCHMARK_CAPTURE(checkCommand, text, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(checkCommand, json, true)->Unit(benchmark::kMillisecond);

} // namespace
