#pragma once
// A Device that draws nothing and writes down every call, for the order of things that the
// pixels cannot show.

#include <sstream>
#include <string>
#include <vector>

#include "pointeditor/view/device.h"

namespace tavo::testing {

class RecordingDevice : public Device {
  public:
    std::vector<std::string> calls;
    int lostPresents = 0; // this many presents report a lost device, then they succeed

    void setRenderState(RenderState state, uint32_t value) override {
        record("renderState", static_cast<int>(state), value);
    }
    void setTextureStageState(TextureStageState state, uint32_t value) override {
        record("stageState", static_cast<int>(state), value);
    }
    void setTransform(TransformType type, const Matrix&) override {
        record("transform", static_cast<int>(type));
    }
    void setVertexFormat(VertexFormat format) override {
        record("vertexFormat", static_cast<uint32_t>(format));
    }
    void setTexture(const Texture* texture) override {
        calls.push_back(texture == nullptr ? "texture none" : "texture set");
    }
    void drawPrimitiveUP(PrimitiveType type, int count, std::span<const BlockVertex> v) override {
        record(type == PrimitiveType::TriangleFan ? "blockFan" : "blockLines", count, v.size());
    }
    void drawPrimitiveUP(PrimitiveType type, int count, std::span<const PaneVertex> v) override {
        record(type == PrimitiveType::TriangleFan ? "paneFan" : "paneLines", count, v.size());
    }
    void clear(uint32_t flags, uint32_t colour, float depth) override {
        record("clear", flags, colour, depth);
    }
    void beginScene() override { calls.push_back("begin"); }
    void endScene() override { calls.push_back("end"); }
    PresentResult present(int left, int top) override {
        record("present", left, top);
        if (lostPresents > 0) {
            --lostPresents;
            return PresentResult::DeviceLost;
        }
        return PresentResult::Ok;
    }
    void reset() override { calls.push_back("reset"); }
    std::unique_ptr<Texture> loadTexture(const std::string&) override { return nullptr; }

    // The calls whose text starts with `prefix`, in order.
    std::vector<std::string> only(const std::string& prefix) const {
        std::vector<std::string> result;
        for (const std::string& call : calls) {
            if (call.rfind(prefix, 0) == 0) {
                result.push_back(call);
            }
        }
        return result;
    }

  private:
    template <typename... Args> void record(const char* name, Args... args) {
        std::ostringstream text;
        text << name;
        ((text << ' ' << args), ...);
        calls.push_back(text.str());
    }
};

} // namespace tavo::testing
