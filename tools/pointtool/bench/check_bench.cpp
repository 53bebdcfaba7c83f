// How long `pointtool check` takes on the worst point file: 200 points that all share one id
// and all link to it twice, so every link is an error naming all 200 holders, every point lies
// outside a full 160-block map, and the JSON or text output is as long as it gets.

#include <benchmark/benchmark.h>
#include <ostream>
#include <streambuf>

#include "pointeditor/data/block_file.h"
#include "pointeditor/data/point_check.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/view/tests/scene_builders.h"
#include "samples/sample_mission.h"
#include "tests/support/scratch_directory.h"
#include "tools/pointtool/check_output.h"
#include "tools/pointtool/commands.h"

namespace {

using namespace tavo;

std::vector<uint8_t> worstPoints() {
    std::vector<PointRecord> records;
    for (int i = 0; i < MaxPoints; ++i) {
        records.push_back(testing::point(1000.0f + i, 0, 0, 8, 5, 5, 5));
    }
    return encodePointFile(records);
}

std::vector<uint8_t> fullMap() {
    std::vector<BlockRecord> blocks;
    for (int i = 0; i < MaxBlocks; ++i) {
        const float x = static_cast<float>(i);
        blocks.push_back(testing::box(x, 0, 0, x + 1, 1, 1));
    }
    return sample::encodeBlockFile({}, blocks);
}

void checkInMemory(benchmark::State& state) {
    const auto points = decodePointFile(worstPoints());
    const auto map = decodeBlockFile(fullMap());
    for (auto _ : state) {
        const auto report = checkPoints(points, &map);
        std::string text;
        for (const auto& finding : report.findings) {
            text += pointtool::formatFinding(finding);
        }
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(checkInMemory)->Unit(benchmark::kMillisecond);

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// The whole command as a shell runs it, file reads and output included.
void checkCommand(benchmark::State& state, bool json) {
    const testing::ScratchDirectory dir;
    QStringList arguments{"pointtool", "check", dir.write("worst.pd1", worstPoints()).c_str(),
                          "--map", dir.write("map.bd1", fullMap()).c_str()};
    if (json) {
        arguments << "--json";
    }
    NullBuffer buffer;
    std::ostream sink(&buffer);
    for (auto _ : state) {
        benchmark::DoNotOptimize(pointtool::runPointTool(arguments, sink, sink));
    }
}
BENCHMARK_CAPTURE(checkCommand, text, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(checkCommand, json, true)->Unit(benchmark::kMillisecond);

} // namespace
