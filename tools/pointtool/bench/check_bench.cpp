// How long `pointtool check` takes on the worst point file: 200 points that all share one id
// and all link to it twice, so every link is an error naming all 200 holders, every point lies
// outside a full 160-block map, and the JSON or text output is as long as it gets.

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <ostream>
#include <streambuf>

#include "pointeditor/data/block_file.h"
#include "pointeditor/data/point_check.h"
#include "tools/pointtool/check_output.h"
#include "tools/pointtool/commands.h"
#include "tools/pointtool/tests/test_points.h"

namespace {

using tavo::pointtool::testing::point;

std::vector<tavo::PointRecord> worstPoints() {
    std::vector<tavo::PointRecord> records;
    for (int i = 0; i < tavo::MaxPoints; ++i) {
        records.push_back(point(8, 5, 5, 5, 1000.0f + i, 0, 0));
    }
    return records;
}

std::vector<tavo::BlockRecord> fullMap() {
    std::vector<tavo::BlockRecord> blocks;
    for (int i = 0; i < tavo::MaxBlocks; ++i) {
        const float x = static_cast<float>(i);
        blocks.push_back(tavo::pointtool::testing::boxBlock(x, 0, 0, x + 1, 1, 1));
    }
    return blocks;
}

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void checkInMemory(benchmark::State& state) {
    const auto points = tavo::decodePointFile(tavo::encodePointFile(worstPoints()));
    const auto map = tavo::decodeBlockFile(tavo::pointtool::testing::blockFileBytes(fullMap()));
    for (auto _ : state) {
        const auto report = tavo::checkPoints(points, &map);
        std::string text;
        for (const auto& finding : report.findings) {
            text += tavo::pointtool::formatFinding(finding);
        }
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(checkInMemory)->Unit(benchmark::kMillisecond);

// The whole command as a shell runs it, file reads and output included.
void checkCommand(benchmark::State& state, bool json) {
    QTemporaryDir dir;
    const QString pd1 = dir.filePath("worst.pd1");
    const QString bd1 = dir.filePath("map.bd1");
    {
        QFile file(pd1);
        file.open(QIODevice::WriteOnly);
        const auto bytes = tavo::encodePointFile(worstPoints());
        file.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    {
        QFile file(bd1);
        file.open(QIODevice::WriteOnly);
        const auto bytes = tavo::pointtool::testing::blockFileBytes(fullMap());
        file.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    QStringList arguments{"pointtool", "check", pd1, "--map", bd1};
    if (json) {
        arguments << "--json";
    }
    NullBuffer buffer;
    std::ostream sink(&buffer);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tavo::pointtool::runPointTool(arguments, sink, sink));
    }
}
BENCHMARK_CAPTURE(checkCommand, text, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(checkCommand, json, true)->Unit(benchmark::kMillisecond);

} // namespace
