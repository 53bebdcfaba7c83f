// Hostile images through the real upload path: a map's texture loading on a real device in a
// headless OpenGL context (decoding on worker threads, the budget, the upload with its mips, the
// atlas), then a quad drawn with what came back.

#include <memory>

#include "fuzz/check.h"
#include "fuzz/reader_checks.h"
#include "pointeditor/view/device/gl_device.h"
#include "pointeditor/view/image/texture_set_decoder.h"
#include "tests/support/scratch_directory.h"

namespace tavo::fuzz {

void checkTextureUpload(std::span<const uint8_t> bytes) {
    static const testing::ScratchDirectory directory;
    static Canvas canvas;
    static DeviceFailure failure;
    static const std::unique_ptr<Device> device = createGlDevice(canvas, failure);
    if (!device) {
        return; // no OpenGL here: nothing to check
    }
    // The same file in two slots: the second fits the budget exactly when the first leaves room.
    const std::string path = directory.write("texture", bytes);
    const std::string files[] = {path, path};
    std::vector<LoadedTexture> loaded = device->loadTextures(files);
    FUZZ_REQUIRE(loaded.size() == 2);
    for (const LoadedTexture& texture : loaded) {
        FUZZ_REQUIRE((texture.texture != nullptr) == (texture.problem == TextureProblem::None));
    }
    FUZZ_REQUIRE(loaded[0].problem != TextureProblem::NotFound);
    if (!loaded[0].texture) {
        // The budget is taken from the headers before anything is decoded: a file admitted and
        // then found damaged keeps its share, and a second copy over half the budget is refused.
        const ImageHeader header = probeImage(bytes);
        const bool halfTaken = header.problem == TextureProblem::None &&
                               2 * int64_t{header.width} * header.height > MapPixelBudget;
        FUZZ_REQUIRE(loaded[1].problem ==
                     (halfTaken ? TextureProblem::OverBudget : loaded[0].problem));
        return;
    }
    device->beginScene();
    device->clear(ClearTarget | ClearZBuffer, 0xFF000000, 1.0f);
    device->setTexture(loaded[0].texture.get());
    const PaneVertex quad[4] = {{40, 0, 0, 1, ~0u, 2, 0},
                                {40, 40, 0, 1, ~0u, 2, 2},
                                {0, 40, 0, 1, ~0u, 0, 2},
                                {0, 0, 0, 1, ~0u, 0, 0}};
    device->drawPrimitiveUP(PrimitiveType::TriangleFan, 2, quad);
    device->endScene();
    FUZZ_REQUIRE(device->present(0, 0) == PresentResult::Ok);
}

} // namespace tavo::fuzz
