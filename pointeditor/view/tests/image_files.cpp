#include "image_files.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <jpeglib.h>

namespace tavo::testing {

TestImage TestImage::filled(int width, int height, uint32_t argb) {
    TestImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height, argb);
    return image;
}

std::vector<uint8_t> encodePng(const TestImage& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_BGRA; // 0xAARRGGBB words on a little-endian machine
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&png, nullptr, &size, 0, image.pixels.data(), 0, nullptr) == 0) {
        throw std::runtime_error("png size");
    }
    std::vector<uint8_t> bytes(size);
    if (png_image_write_to_memory(&png, bytes.data(), &size, 0, image.pixels.data(), 0, nullptr) ==
        0) {
        throw std::runtime_error("png write");
    }
    bytes.resize(size);
    return bytes;
}

std::vector<uint8_t> encodeJpeg(const TestImage& image, int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    // No chroma subsampling, so that small coloured squares keep their colours.
    for (int i = 0; i < info.num_components; ++i) {
        info.comp_info[i].h_samp_factor = 1;
        info.comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(image.width) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < image.width; ++x) {
            uint32_t p = image.pixels[static_cast<std::size_t>(info.next_scanline) * image.width +
                                      static_cast<std::size_t>(x)];
            row[static_cast<std::size_t>(x) * 3] = static_cast<unsigned char>(p >> 16);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<unsigned char>(p >> 8);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<unsigned char>(p);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

std::vector<uint8_t> encodeBmp(const TestImage& image) {
    const int rowBytes = (image.width * 3 + 3) & ~3;
    const uint32_t dataSize = static_cast<uint32_t>(rowBytes * image.height);
    std::vector<uint8_t> bytes;
    auto put16 = [&](uint32_t v) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    bytes.push_back('B');
    bytes.push_back('M');
    put32(54 + dataSize);
    put32(0);
    put32(54);
    put32(40);
    put32(static_cast<uint32_t>(image.width));
    put32(static_cast<uint32_t>(image.height));
    put16(1);
    put16(24);
    put32(0);
    put32(dataSize);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            uint32_t p = image.pixels[static_cast<std::size_t>(y * image.width + x)];
            bytes.push_back(static_cast<uint8_t>(p));
            bytes.push_back(static_cast<uint8_t>(p >> 8));
            bytes.push_back(static_cast<uint8_t>(p >> 16));
        }
        for (int pad = image.width * 3; pad < rowBytes; ++pad) {
            bytes.push_back(0);
        }
    }
    return bytes;
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::string makeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavo-view-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp");
    }
    return pattern;
}

} // namespace tavo::testing
