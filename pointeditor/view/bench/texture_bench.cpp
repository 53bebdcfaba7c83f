// Loading a map: 160 textured blocks naming ten 1024 x 1024 JPEGs, from LOAD BLOCK to a drawn
// frame (every texture decoded, uploaded with its mips and used); and the ten files decoded one
// after another on one core.

#include <benchmark/benchmark.h>

#include <memory>

#include "common/files/file_read.h"
#include "heaviest_scene.h"
#include "pointeditor/data/block_file.h"
#include "pointeditor/view/gl_device.h"
#include "pointeditor/view/image_decoder.h"
#include "pointeditor/view/render_panes.h"
#include "samples/sample_mission.h"

namespace tavo {
namespace {

constexpr int Side = 1024;

// A photograph-like texture: smooth gradients under a fine pattern, which JPEG does not
// flatten away.
std::vector<uint8_t> textureJpeg(int seed) {
    testing::TestImage image = testing::TestImage::filled(Side, Side, 0);
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            uint32_t noise = static_cast<uint32_t>((x * 7919 + y * 104729 + seed * 31) % 61);
            image.at(x, y) = 0xFF000000u | ((x / 4 + noise + seed * 20) & 0xFFu) << 16 |
                             ((y / 4 + noise) & 0xFFu) << 8 | (((x ^ y) + noise) & 0xFFu);
        }
    }
    return testing::encode(image, "JPG");
}

// The town's .bd1 and its ten JPEGs t0.jpg .. t9.jpg, written once.
struct MapFolder {
    testing::ScratchDirectory dir;
    std::string map = dir.at("town.bd1");

    MapFolder() {
        std::vector<std::string> names;
        std::vector<BlockRecord> blocks;
        for (int t = 0; t < TextureCount; ++t) {
            names.push_back("t" + std::to_string(t) + ".jpg");
            dir.write(names.back(), textureJpeg(t));
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
    Canvas canvas;
    DeviceFailure failure;
    std::unique_ptr<Device> device = createGlDevice(canvas, failure);
    if (!device) {
        run.SkipWithError("no device");
        return;
    }
    auto state = std::make_unique<EditorState>();
    state->device = device.get();
    state->textureLoader = device.get();
    for (auto _ : run) {
        auto findings = loadBlockFile(*state, folder().map);
        renderPanes(*state);
        if (!findings || !findings->empty()) {
            run.SkipWithError("a texture did not load");
        }
    }
    state->textures = {};
}
BENCHMARK(BM_LoadMapOfTenJpegs)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_DecodeTenJpegsOneByOne(benchmark::State& run) {
    std::vector<std::vector<uint8_t>> files;
    for (int t = 0; t < TextureCount; ++t) {
        files.push_back(
            *readWholeFile(folder().dir.at("t" + std::to_string(t) + ".jpg"), ImageFileLimit));
    }
    for (auto _ : run) {
        for (const auto& bytes : files) {
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
