#pragma once
// Image files that Qt's writers do not make, written with libpng and libjpeg directly or byte by
// byte: PNGs of any bit depth with or without gAMA, PNGs with extra chunks, CMYK JPEGs plain and
// Adobe, progressive JPEGs with repeated scans, TGAs of every kind, GIFs of one frame.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace tavo::testing {

using Bytes = std::vector<uint8_t>;

inline void putLe16(Bytes& out, auto value) {
    out.insert(out.end(), {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
}

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

// A PNG chunk of `type` holding `data`, with its length and checksum.
inline Bytes pngChunk(const std::string& type, const Bytes& data) {
    Bytes out;
    const auto putBe32 = [&out](uLong value) {
        out.insert(out.end(), {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                               static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)});
    };
    putBe32(data.size());
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    putBe32(crc32(0, out.data() + 4, static_cast<uInt>(out.size() - 4)));
    return out;
}

// A zTXt chunk whose text is `mebibytes` MiB of one letter: a few kilobytes in the file.
inline Bytes compressedTextChunk(int mebibytes) {
    const Bytes text(static_cast<std::size_t>(mebibytes) << 20, 'a');
    uLongf size = compressBound(static_cast<uLong>(text.size()));
    Bytes data = {'k', 0, 0}; // keyword, its end, the compression method
    data.resize(3 + size);
    compress2(data.data() + 3, &size, text.data(), static_cast<uLong>(text.size()), 9);
    data.resize(3 + size);
    return pngChunk("zTXt", data);
}

// `png` with `chunk` put `count` times right after its header chunk.
inline Bytes withChunks(const Bytes& png, const Bytes& chunk, int count) {
    constexpr std::size_t HeaderEnd = 8 + 25; // the signature, then IHDR
    Bytes out(png.begin(), png.begin() + HeaderEnd);
    for (int i = 0; i < count; ++i) {
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    out.insert(out.end(), png.begin() + HeaderEnd, png.end());
    return out;
}

// A GIF with a two-colour table (black, white) and one frame of one black pixel at (left, top)
// on a logical screen of screenWidth x screenHeight.
inline Bytes gifOf(int screenWidth, int screenHeight, int left = 0, int top = 0) {
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    putLe16(out, screenWidth);
    putLe16(out, screenHeight);
    out.insert(out.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255, 0x2C});
    putLe16(out, left);
    putLe16(out, top);
    out.insert(out.end(), {1, 0, 1, 0, 0});
    // Code size 2: the codes clear, 0, end in 3 bits each.
    out.insert(out.end(), {2, 2, 0x44, 0x01, 0, 0x3B});
    return out;
}

// How tgaImageOf stores an image: the image type (1, 2, 3 plain; 9, 10, 11 run-length), bits a
// pixel (grey: 8, or 16 with alpha; true colour 15, 16, 24, 32; colour-mapped: 8- or 16-bit
// indices into a map of mapBits entries whose first index is firstEntry), the row and column order,
// and an image ID of idLength bytes.
struct TgaLayout {
    int type = 10;
    int depth = 24;
    bool topDown = false;
    bool rightToLeft = false;
    int mapBits = 24;
    int firstEntry = 0;
    int idLength = 0;
};

// One pixel (ARGB) as `bits` of true colour: 5 bits a channel and the alpha's top bit for 15 and
// 16, B, G, R for 24, then A for 32.
inline Bytes tgaColour(uint32_t argb, int bits) {
    const auto channel = [argb](int shift) { return static_cast<uint8_t>(argb >> shift); };
    const auto fiveBits = [argb](int shift) { return argb >> (shift + 3) & 31; };
    if (bits == 15 || bits == 16) {
        const uint32_t value = fiveBits(16) << 10 | fiveBits(8) << 5 | fiveBits(0) |
                               (bits == 16 && argb >> 31 != 0 ? 0x8000u : 0u);
        return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    }
    return bits == 32 ? Bytes{channel(0), channel(8), channel(16), channel(24)}
                      : Bytes{channel(0), channel(8), channel(16)};
}

// `pixels` (ARGB, rows top first) as a TGA laid out as `layout` says. Run-length packets run on
// across rows, as many writers make them.
inline Bytes tgaImageOf(int width, int height, const std::vector<uint32_t>& pixels,
                        const TgaLayout& layout) {
    const int kind = layout.type & 7;
    std::map<uint32_t, int> indices;
    std::vector<uint32_t> map;
    if (kind == 1) {
        for (uint32_t argb : pixels) {
            if (indices.emplace(argb, static_cast<int>(map.size())).second) {
                map.push_back(argb);
            }
        }
    }
    std::vector<Bytes> stored;
    for (int row = 0; row < height; ++row) {
        const int y = layout.topDown ? row : height - 1 - row;
        for (int column = 0; column < width; ++column) {
            const int x = layout.rightToLeft ? width - 1 - column : column;
            const uint32_t argb = pixels[static_cast<std::size_t>(y * width + x)];
            // A map index, or a grey level with its alpha above it.
            const uint32_t value = kind == 1
                                       ? static_cast<uint32_t>(indices[argb] + layout.firstEntry)
                                       : (argb & 0xFF) | (argb >> 24 << 8);
            stored.push_back(kind != 1 && kind != 3 ? tgaColour(argb, layout.depth)
                             : layout.depth == 16   ? Bytes{static_cast<uint8_t>(value),
                                                          static_cast<uint8_t>(value >> 8)}
                                                    : Bytes{static_cast<uint8_t>(value)});
        }
    }
    const int colourBits = kind == 1 ? layout.mapBits : layout.depth;
    // Alpha bits: 8 with a byte of alpha, 1 for 16-bit colour.
    const int attributeBits = colourBits == 32 || (kind == 3 && colourBits == 16) ? 8
                              : colourBits == 16                                  ? 1
                                                                                  : 0;
    Bytes out = {static_cast<uint8_t>(layout.idLength), static_cast<uint8_t>(kind == 1),
                 static_cast<uint8_t>(layout.type)};
    putLe16(out, layout.firstEntry);
    putLe16(out, map.size());
    out.insert(out.end(), {static_cast<uint8_t>(kind == 1 ? layout.mapBits : 0), 0, 0, 0, 0});
    putLe16(out, width);
    putLe16(out, height);
    out.insert(out.end(), {static_cast<uint8_t>(layout.depth),
                           static_cast<uint8_t>(attributeBits | (layout.topDown ? 0x20 : 0) |
                                                (layout.rightToLeft ? 0x10 : 0))});
    out.insert(out.end(), static_cast<std::size_t>(layout.idLength), 'i');
    for (uint32_t argb : map) {
        const Bytes entry = tgaColour(argb, layout.mapBits);
        out.insert(out.end(), entry.begin(), entry.end());
    }
    if (layout.type < 8) {
        for (const Bytes& pixel : stored) {
            out.insert(out.end(), pixel.begin(), pixel.end());
        }
        return out;
    }
    // Runs of equal pixels, else raw packets up to the next pair of equal pixels.
    const auto equal = [&stored](std::size_t i) {
        return i + 1 < stored.size() && stored[i] == stored[i + 1];
    };
    for (std::size_t at = 0; at < stored.size();) {
        std::size_t run = 1;
        while (run < 128 && equal(at + run - 1)) {
            ++run;
        }
        std::size_t raw = 1;
        while (run == 1 && at + raw < stored.size() && raw < 128 && !equal(at + raw)) {
            ++raw;
        }
        out.push_back(static_cast<uint8_t>(run > 1 ? 0x80 | (run - 1) : raw - 1));
        for (std::size_t i = 0; i < raw; ++i) {
            out.insert(out.end(), stored[at + i].begin(), stored[at + i].end());
        }
        at += run > 1 ? run : raw;
    }
    return out;
}

} // namespace tavo::testing
