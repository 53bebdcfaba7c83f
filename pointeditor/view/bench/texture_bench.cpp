// Loading a map: 160 textured blocks naming ten 1024 x 1024 JPEGs, from LOAD BLOCK to a drawn
// frame (every texture decoded, uploaded with its mips and used). Beside it the floor, an empty
// map loaded and drawn the same way, and the ten files decoded one after another on one core.

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "common/files/file_read.h"
#include "image_files.h"
#include "pointeditor/data/block_file.h"
#include "pointeditor/view/gl_device.h"
#include "pointeditor/view/image_decoder.h"
#include "pointeditor/view/render_panes.h"
#include "scene_builders.h"

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

struct MapFolder {
    std::string dir = testing::makeTempDir();
    std::string map = dir + "/town.bd1";
    std::string empty = dir + "/empty.bd1";

    MapFolder() {
        std::vector<uint8_t> bytes(TextureCount * TextureNameSize + 2 +
                                   MaxBlocks * BlockRecordSize);
        std::vector<uint8_t> none(TextureCount * TextureNameSize + 2);
        for (int t = 0; t < TextureCount; ++t) {
            std::string name = "t" + std::to_string(t) + ".jpg";
            testing::writeFile(dir + "/" + name, textureJpeg(t));
            std::memcpy(bytes.data() + t * TextureNameSize, name.data(), name.size());
        }
        bytes[TextureCount * TextureNameSize] = MaxBlocks;
        for (int i = 0; i < MaxBlocks; ++i) {
            float x = static_cast<float>(i % 16) * 8.0f - 64.0f;
            float z = static_cast<float>(i / 16) * 12.0f - 60.0f;
            BlockRecord block = testing::box(x, 0.0f, z, x + 6.0f, 4.0f + i % 13, z + 9.0f);
            for (int f = 0; f < 6; ++f) {
                block.textureId[f] = (i + f) % TextureCount;
            }
            // The record's memory is its little-endian file layout.
            std::memcpy(bytes.data() + TextureCount * TextureNameSize + 2 + i * BlockRecordSize,
                        &block, BlockRecordSize);
        }
        testing::writeFile(map, bytes);
        testing::writeFile(empty, none);
    }
    ~MapFolder() { std::filesystem::remove_all(dir); }
};

void loadAndDraw(benchmark::State& run, bool textured) {
    static const MapFolder folder;
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
        auto findings = loadBlockFile(*state, textured ? folder.map : folder.empty);
        renderPanes(*state);
        if (!findings || !findings->empty()) {
            run.SkipWithError("a texture did not load");
        }
    }
    state->textures = {};
}

void BM_LoadMapOfTenJpegs(benchmark::State& run) {
    loadAndDraw(run, true);
}
BENCHMARK(BM_LoadMapOfTenJpegs)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_LoadEmptyMapFloor(benchmark::State& run) {
    loadAndDraw(run, false);
}
BENCHMARK(BM_LoadEmptyMapFloor)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_DecodeTenJpegsOneByOne(benchmark::State& run) {
    static const MapFolder folder;
    std::vector<std::vector<uint8_t>> files;
    for (int t = 0; t < TextureCount; ++t) {
        files.push_back(
            *readWholeFile(folder.dir + "/t" + std::to_string(t) + ".jpg", ImageFileLimit));
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

// The device's share: ten decoded images uploaded with their mips and placed in the atlas.
void BM_UploadTenDecoded(benchmark::State& run) {
    static const MapFolder folder;
    Canvas canvas;
    DeviceFailure failure;
    std::unique_ptr<Device> device = createGlDevice(canvas, failure);
    if (!device) {
        run.SkipWithError("no device");
        return;
    }
    std::vector<DecodedImage> images;
    for (int t = 0; t < TextureCount; ++t) {
        images.push_back(*decodeImage(
            *readWholeFile(folder.dir + "/t" + std::to_string(t) + ".jpg", ImageFileLimit)));
    }
    auto state = std::make_unique<EditorState>();
    state->device = device.get();
    for (auto _ : run) {
        std::vector<std::unique_ptr<Texture>> textures;
        for (const DecodedImage& image : images) {
            textures.push_back(device->uploadTexture(image));
        }
        renderPanes(*state); // its presents wait for OpenGL to finish
    }
}
BENCHMARK(BM_UploadTenDecoded)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace tavo

BENCHMARK_MAIN();
