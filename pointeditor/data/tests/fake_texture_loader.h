#pragma once
// A TextureLoader that records the paths it is asked for. It "loads" any file whose first byte
// is not 0, so a test makes a broken image by writing a single 0.

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "pointeditor/data/texture.h"

namespace tavo::testing {

class FakeTextureLoader : public TextureLoader {
  public:
    std::vector<std::string> requests;
    int released = 0;

    std::unique_ptr<Texture> loadTexture(const std::string& path) override {
        requests.push_back(path);
        std::ifstream in(path, std::ios::binary);
        char first = 0;
        if (!in.get(first) || first == 0) {
            return nullptr;
        }
        return std::make_unique<FakeTexture>(path, &released);
    }

    static const std::string& pathOf(const Texture& texture) {
        return static_cast<const FakeTexture&>(texture).path;
    }

  private:
    struct FakeTexture : Texture {
        FakeTexture(std::string from, int* releaseCount)
            : path(std::move(from)), releases(releaseCount) {}
        ~FakeTexture() override { ++*releases; }
        FakeTexture(const FakeTexture&) = delete;
        FakeTexture& operator=(const FakeTexture&) = delete;
        std::string path;
        int* releases;
    };
};

} // namespace tavo::testing
