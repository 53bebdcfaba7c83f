// A whole frame of the four panes through the real device, presents included: the heaviest
// scene the editor can hold, and the empty one it starts with; each against the floor.

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "image_files.h"
#include "pane_floor.h"
#include "pointeditor/view/gl_device.h"
#include "pointeditor/view/render_panes.h"
#include "scene_builders.h"

namespace tavo {
namespace {

struct Scene {
    Canvas canvas;
    std::unique_ptr<Device> device;
    EditorState state;
    std::string dir;

    Scene() {
        DeviceFailure failure;
        device = createGlDevice(canvas, failure);
        state.device = device.get();
        state.textureLoader = device.get();
    }
    ~Scene() {
        for (auto& texture : state.textures) {
            texture.reset();
        }
        if (!dir.empty()) {
            std::filesystem::remove_all(dir);
        }
    }

    void fillWorstCase() {
        dir = testing::makeTempDir();
        for (int t = 0; t < TextureCount; ++t) {
            testing::TestImage image = testing::TestImage::filled(256, 256, 0);
            for (int y = 0; y < 256; ++y) {
                for (int x = 0; x < 256; ++x) {
                    image.at(x, y) = 0xFF000000u |
                                     static_cast<uint32_t>((x * (t + 1)) & 0xFF) << 16 |
                                     static_cast<uint32_t>(y & 0xFF) << 8 |
                                     static_cast<uint32_t>(((x ^ y) * 7 + t * 25) & 0xFF);
                }
            }
            std::string path = dir + "/t" + std::to_string(t) + ".png";
            testing::writeFile(path, testing::encodePng(image));
            state.textures[static_cast<std::size_t>(t)] = device->loadTexture(path);
        }
        // A 16 x 10 town of boxes around the origin, all within the 2D panes at zoom 2.
        for (int i = 0; i < MaxBlocks; ++i) {
            float x = static_cast<float>(i % 16) * 8.0f - 64.0f;
            float z = static_cast<float>(i / 16) * 12.0f - 60.0f;
            float height = 4.0f + static_cast<float>((i * 7) % 13);
            BlockRecord block = testing::box(x, 0.0f, z, x + 6.0f, height, z + 9.0f);
            for (int f = 0; f < 6; ++f) {
                block.textureId[f] = (i + f) % TextureCount;
            }
            state.blocks[static_cast<std::size_t>(i)] = block;
        }
        // Paths, random paths, humans and events linking to one another; with the special
        // ids this is well over 400 lines, so the list is full.
        const int8_t kinds[] = {8, 3, 8, 6, 12, 8, 1, 3, 8, 15};
        for (int i = 0; i < MaxPoints; ++i) {
            PointRecord& p = state.points[static_cast<std::size_t>(i)];
            p.x = static_cast<float>(i % 20) * 6.0f - 60.0f;
            p.y = static_cast<float>(i % 7);
            p.z = static_cast<float>(i / 20) * 12.0f - 60.0f;
            p.r = static_cast<float>(i) * 0.3926990f;
            p.p1 = kinds[i % 10];
            p.p2 = static_cast<int8_t>(i + 2);
            p.p3 = static_cast<int8_t>(i + 1);
            p.p4 = static_cast<int8_t>(i);
            state.pointUsed[static_cast<std::size_t>(i)] = i % 9 == 0 ? 2 : 1;
        }
        state.menuMode = MenuSelectPoint;
        state.boxView = TopPane;
        state.hoverView = TopPane;
        state.boxStartX = -30.0f;
        state.boxStartZ = -30.0f;
        state.cursorX = 30.0f;
        state.cursorZ = 20.0f;
    }
};

// Full frames: every pane drawn, as without retained panes.
void runFrames(benchmark::State& run, Scene& scene) {
    const double floor = bench::floorMilliseconds();
    bench::Stopwatch watch;
    for (auto _ : run) {
        renderPanes(scene.state);
    }
    bench::reportAgainstFloor(run, watch, floor);
}

void BM_FloorFrame(benchmark::State& run) {
    Scene scene;
    if (!scene.device) {
        run.SkipWithError("no device");
        return;
    }
    // The floor itself against a floor run just before: about 1 when the machine is steady.
    const double floor = bench::floorMilliseconds();
    bench::Stopwatch watch;
    for (auto _ : run) {
        for (PaneOrigin origin : {paneOrigin(PerspectivePane), paneOrigin(TopPane),
                                  paneOrigin(FrontPane), paneOrigin(SidePane)}) {
            scene.device->beginScene();
            scene.device->clear(ClearTarget | ClearZBuffer, 0xFF000000u, 1.0f);
            scene.device->endScene();
            scene.device->present(origin.left, origin.top);
        }
    }
    bench::reportAgainstFloor(run, watch, floor);
}
BENCHMARK(BM_FloorFrame)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_WorstCaseFrame(benchmark::State& run) {
    Scene scene;
    if (!scene.device) {
        run.SkipWithError("no device");
        return;
    }
    scene.fillWorstCase();
    renderPanes(scene.state);
    run.counters["linkLines"] = scene.state.linkLineCount;
    runFrames(run, scene);
}
BENCHMARK(BM_WorstCaseFrame)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_InitialStateFrame(benchmark::State& run) {
    Scene scene;
    if (!scene.device) {
        run.SkipWithError("no device");
        return;
    }
    runFrames(run, scene);
}
BENCHMARK(BM_InitialStateFrame)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace tavo

BENCHMARK_MAIN();
