#pragma once
// A device that draws nothing but checks every call: draws only inside scenes and with the
// vertices their count needs, scenes never nested, only the map's own textures bound.

#include <algorithm>
#include <memory>

#include "fuzz/check.h"
#include "pointeditor/data/editor_state.h"
#include "pointeditor/view/device/device.h"

namespace tavo::fuzz {

class CheckingDevice : public Device {
public:
    explicit CheckingDevice(const EditorState& state) : state_(state) {}

    void setRenderState(RenderState, uint32_t) override {}
    void setTextureStageState(TextureStageState, uint32_t) override {}
    void setTransform(TransformType, const Matrix&) override {}
    void setVertexFormat(VertexFormat) override {}

    // Only the map's own texture slots are ever bound.
    void setTexture(const Texture* texture) override {
        FUZZ_REQUIRE(texture == nullptr ||
                     std::any_of(state_.textures.begin(), state_.textures.end(),
                                 [texture](const auto& slot) { return slot.get() == texture; }));
    }

    // Every draw passes at least the vertices its count needs.
    void drawPrimitiveUP(PrimitiveType type, int count,
                         std::span<const BlockVertex> vertices) override {
        checkDraw(type, count, vertices.size());
    }
    void drawPrimitiveUP(PrimitiveType type, int count,
                         std::span<const PaneVertex> vertices) override {
        checkDraw(type, count, vertices.size());
    }

    void clear(uint32_t, uint32_t, float) override {}
    void beginScene() override {
        FUZZ_REQUIRE(!inScene_);
        inScene_ = true;
    }
    void endScene() override {
        FUZZ_REQUIRE(inScene_);
        inScene_ = false;
        ++scenes;
    }
    PresentResult present(int, int) override {
        FUZZ_REQUIRE(!inScene_);
        return PresentResult::Ok;
    }
    void reset() override {}
    std::unique_ptr<Texture> uploadTexture(const DecodedImage&) override { return nullptr; }

    int scenes = 0;

private:
    void checkDraw(PrimitiveType type, int count, std::size_t vertices) const {
        FUZZ_REQUIRE(inScene_);
        FUZZ_REQUIRE(count >= 0);
        const auto needed =
            static_cast<std::size_t>(count) + (type == PrimitiveType::TriangleFan ? 2u : 1u);
        FUZZ_REQUIRE(count == 0 || vertices >= needed);
    }

    const EditorState& state_;
    bool inScene_ = false;
};

} // namespace tavo::fuzz
