#pragma once
// Image files made by the tests themselves: every texture a test loads is written here first.

#include <cstdint>
#include <string>
#include <vector>

namespace tavo::testing {

struct TestImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // ARGB, rows top first

    static TestImage filled(int width, int height, uint32_t argb);
    uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

std::vector<uint8_t> encodePng(const TestImage& image);               // 8-bit RGBA
std::vector<uint8_t> encodeJpeg(const TestImage& image, int quality); // RGB, alpha dropped
std::vector<uint8_t> encodeBmp(const TestImage& image);               // 24-bit, bottom-up rows

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// A fresh empty directory under the system's temporary directory.
std::string makeTempDir();

} // namespace tavo::testing
