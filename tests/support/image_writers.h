#pragma once
// Image files that Qt's writers do not make, written with libpng and libjpeg directly or byte by
// byte: PNGs of any bit depth with or without gAMA, CMYK JPEGs plain and Adobe, progressive
// JPEGs with repeated scans, TGAs.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace tavo::testing {

using Bytes = std::vector<uint8_t>;

// A width x height PNG whose every pixel has `samples` (one per channel of `colourType`, each
// of `bitDepth` bits), with a gAMA chunk when `gamma` is given (1.0 = 100000).
inline Bytes pngOf(int width, int height, int bitDepth, int colourType,
                   const std::vector<uint16_t>& samples, std::optional<int> gamma = {}) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            auto* bytes = static_cast<Bytes*>(png_get_io_ptr(p));
            bytes->insert(bytes->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 bitDepth, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (gamma) {
        png_set_gAMA_fixed(png, info, *gamma);
    }
    png_write_info(png, info);
    Bytes row;
    for (int x = 0; x < width; ++x) {
        for (uint16_t sample : samples) {
            if (bitDepth == 16) {
                row.push_back(static_cast<uint8_t>(sample >> 8));
            }
            row.push_back(static_cast<uint8_t>(sample));
        }
    }
    for (int y = 0; y < height; ++y) {
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A JPEG through libjpeg at quality 100: `samples` for every pixel (1 grey, 3 RGB, 4 CMYK). `adobe`
// writes Adobe's marker (for CMYK libjpeg writes it unless told not to). `progressive` uses
// libjpeg's progressive script.
inline Bytes jpegOf(int width, int height, const std::vector<uint8_t>& samples, bool adobe,
                    bool progressive = false) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = static_cast<int>(samples.size());
    const J_COLOR_SPACE spaces[] = {JCS_UNKNOWN, JCS_GRAYSCALE, JCS_UNKNOWN, JCS_RGB, JCS_CMYK};
    info.in_color_space = spaces[samples.size()]; // by the samples a pixel has: 1, 3 or 4
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    info.write_Adobe_marker = adobe ? TRUE : FALSE;
    if (progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    Bytes row;
    for (int x = 0; x < width; ++x) {
        row.insert(row.end(), samples.begin(), samples.end());
    }
    JSAMPROW rows[] = {row.data()};
    while (info.next_scanline < info.image_height) {
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// A progressive JPEG whose last scan (with its Huffman tables) is repeated until there are
// `scans` in all: every copy passes over the whole image again.
inline Bytes repeatedScans(int width, int height, int scans) {
    Bytes jpeg = jpegOf(width, height, {128}, false, true);
    // FF DA and FF C4 never occur inside entropy-coded data (an FF there is followed by 00).
    std::size_t lastScan = 0;
    std::size_t written = 0;
    for (std::size_t i = 2; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) {
            lastScan = i;
            ++written;
        }
    }
    std::size_t start = lastScan;
    for (std::size_t i = 2; i + 3 < lastScan; ++i) {
        std::size_t length = std::size_t{jpeg[i + 2]} << 8 | jpeg[i + 3];
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC4 && i + 2 + length == lastScan) {
            start = i; // the scan's own Huffman tables go with it
        }
    }
    std::size_t end = jpeg.size() - 2; // EOI
    Bytes out(jpeg.begin(), jpeg.begin() + static_cast<long>(end));
    for (; written < static_cast<std::size_t>(scans); ++written) {
        out.insert(out.end(), jpeg.begin() + static_cast<long>(start),
                   jpeg.begin() + static_cast<long>(end));
    }
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

// An uncompressed 24-bit TGA, all pixels (r, g, b), rows bottom first.
inline Bytes tgaOf(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    Bytes out(18, 0);
    out[2] = 2; // true colour, uncompressed
    out[12] = static_cast<uint8_t>(width);
    out[13] = static_cast<uint8_t>(width >> 8);
    out[14] = static_cast<uint8_t>(height);
    out[15] = static_cast<uint8_t>(height >> 8);
    out[16] = 24;
    for (int i = 0; i < width * height; ++i) {
        out.insert(out.end(), {b, g, r});
    }
    return out;
}

} // namespace tavo::testing
