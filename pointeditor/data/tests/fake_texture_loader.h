#pragma once
// A TextureLoader that records the paths it is asked for. It refuses files whose first byte is
// 0, so a test makes a broken image by writing a single 0.

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "pointeditor/data/texture.h"

namespace tavo::testing {

struct FakeTexture : Texture {
    explicit FakeTexture(std::string from) : path(std::move(from)) {}
    std::string path;
};

class FakeTextureLoader : public TextureLoader {
  public:
    std::vector<std::string> requests;

    std::unique_ptr<Texture> loadTexture(const std::string& path) override {
        requests.push_back(path);
        char first = 0;
        if (!std::ifstream(path, std::ios::binary).get(first) || first == 0) {
            return nullptr;
        }
        return std::make_unique<FakeTexture>(path);
    }
};

// The file that the texture in `slot` was made from, empty for an empty slot.
inline std::string texturePath(const std::unique_ptr<Texture>& slot) {
    return slot ? static_cast<const FakeTexture&>(*slot).path : std::string();
}

} // namespace tavo::testing
