// Texture images: JPEG and PNG made with libjpeg and libpng, BMP and GIF written here byte by
// byte, the rest through Qt's image writer. A map's textures are small; the large seeds are a
// few hundred pixels across.

#include <csetjmp>
#include <cstdio>
#include <stdexcept>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <jpeglib.h>
#include <png.h>

#include "fuzz/seeds/seed_files.h"
#include "pointeditor/data/byte_order.h"

namespace tavo::fuzz {
namespace {

void putU16(std::vector<uint8_t>& out, unsigned value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

uint8_t red(uint32_t argb) {
    return static_cast<uint8_t>(argb >> 16);
}
uint8_t green(uint32_t argb) {
    return static_cast<uint8_t>(argb >> 8);
}
uint8_t blue(uint32_t argb) {
    return static_cast<uint8_t>(argb);
}

// The index of a pixel in the 256-entry palette of the paletted formats: 16 steps across, 16
// down.
uint8_t paletteIndex(int x, int y, int width, int height) {
    return static_cast<uint8_t>((x * 16 / width) | (y * 16 / height) << 4);
}
uint32_t paletteColour(int index) {
    return 0xFF000000u | static_cast<uint32_t>((index & 15) * 17) << 16 |
           static_cast<uint32_t>((index >> 4) * 17) << 8 | 0x80u;
}

std::vector<uint8_t> fromQImage(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        throw std::runtime_error(std::string("cannot write a ") + format +
                                 " seed: " + writer.errorString().toStdString());
    }
    return {bytes.begin(), bytes.end()};
}

QImage patternImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    std::vector<uint32_t> pixels = patternPixels(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, pixels[static_cast<std::size_t>(y) * width + x]);
        }
    }
    return image;
}

struct JpegFailure {
    jpeg_error_mgr errors{};
    std::jmp_buf jump{};
};

[[noreturn]] void jpegFailed(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegFailure*>(info->err)->jump, 1);
}

} // namespace

std::vector<uint32_t> patternPixels(int width, int height) {
    // A gradient with a checker over it and an alpha ramp: every channel varies, and neighbouring
    // pixels differ, so a decoder that mixes up rows, columns or channels shows it.
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            auto r = static_cast<uint32_t>(x * 255 / std::max(width - 1, 1));
            auto g = static_cast<uint32_t>(y * 255 / std::max(height - 1, 1));
            uint32_t b = ((x / 4 + y / 4) % 2) != 0 ? 0xE0u : 0x20u;
            auto a = static_cast<uint32_t>(255 - (x + y) * 128 / std::max(width + height - 2, 1));
            pixels.push_back(a << 24 | r << 16 | g << 8 | b);
        }
    }
    return pixels;
}

std::vector<uint8_t> encodeJpeg(int width, int height, bool grey, bool progressive, int quality) {
    std::vector<uint32_t> pixels = patternPixels(width, height);
    jpeg_compress_struct info{};
    JpegFailure failure;
    info.err = jpeg_std_error(&failure.errors);
    failure.errors.error_exit = jpegFailed;
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    if (setjmp(failure.jump) != 0) {
        jpeg_destroy_compress(&info);
        std::free(memory);
        throw std::runtime_error("cannot make a JPEG seed");
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &memory, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
            if (grey) {
                row[static_cast<std::size_t>(x)] = green(p);
            } else {
                row[static_cast<std::size_t>(x) * 3] = red(p);
                row[static_cast<std::size_t>(x) * 3 + 1] = green(p);
                row[static_cast<std::size_t>(x) * 3 + 2] = blue(p);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> bytes(memory, memory + size);
    std::free(memory);
    return bytes;
}

std::vector<uint8_t> encodePng(int width, int height, uint32_t pngFormat) {
    std::vector<uint32_t> pixels = patternPixels(width, height);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(width);
    png.height = static_cast<png_uint_32>(height);
    png.format = pngFormat;
    // The writer converts from our BGRA bytes only for the plain 8-bit formats; the others are
    // given their own sample layout.
    std::vector<uint8_t> samples(PNG_IMAGE_SIZE(png));
    std::vector<uint8_t> colourMap;
    const int channels = static_cast<int>(PNG_IMAGE_SAMPLE_CHANNELS(pngFormat));
    const int sampleSize = static_cast<int>(PNG_IMAGE_SAMPLE_COMPONENT_SIZE(pngFormat));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * width + x;
            const uint32_t p = pixels[i];
            if ((pngFormat & PNG_FORMAT_FLAG_COLORMAP) != 0) {
                samples[i] = paletteIndex(x, y, width, height);
                continue;
            }
            const bool bgr = (pngFormat & PNG_FORMAT_FLAG_BGR) != 0;
            const uint8_t colour[4] = {bgr ? blue(p) : red(p), green(p), bgr ? red(p) : blue(p),
                                       static_cast<uint8_t>(p >> 24)};
            const uint8_t grey[2] = {green(p), static_cast<uint8_t>(p >> 24)};
            for (int c = 0; c < channels; ++c) {
                const uint8_t value = channels <= 2 ? grey[c] : colour[c];
                const std::size_t at =
                    i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c);
                if (sampleSize == 2) {
                    reinterpret_cast<uint16_t*>(samples.data())[at] =
                        static_cast<uint16_t>(value * 257);
                } else {
                    samples[at] = value;
                }
            }
        }
    }
    if ((pngFormat & PNG_FORMAT_FLAG_COLORMAP) != 0) {
        png.colormap_entries = 256;
        for (int index = 0; index < 256; ++index) {
            uint32_t colour = paletteColour(index);
            colourMap.insert(colourMap.end(), {red(colour), green(colour), blue(colour)});
        }
    }
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&png, nullptr, &size, 0, samples.data(), 0,
                                  colourMap.empty() ? nullptr : colourMap.data()) == 0) {
        throw std::runtime_error(std::string("cannot size a PNG seed: ") + png.message);
    }
    std::vector<uint8_t> bytes(size);
    if (png_image_write_to_memory(&png, bytes.data(), &size, 0, samples.data(), 0,
                                  colourMap.empty() ? nullptr : colourMap.data()) == 0) {
        throw std::runtime_error(std::string("cannot make a PNG seed: ") + png.message);
    }
    bytes.resize(size);
    return bytes;
}

std::vector<uint8_t> encodeBmp(int width, int height, int bitsPerPixel) {
    const std::vector<uint32_t> pixels = patternPixels(width, height);
    const int paletteEntries = bitsPerPixel <= 8 ? 1 << bitsPerPixel : 0;
    const int rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    const int headerBytes = 14 + 40 + paletteEntries * 4;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    bytes::putU32(out, static_cast<uint32_t>(headerBytes + rowBytes * height));
    bytes::putU32(out, 0);
    bytes::putU32(out, static_cast<uint32_t>(headerBytes));
    bytes::putU32(out, 40);
    bytes::putU32(out, static_cast<uint32_t>(width));
    bytes::putU32(out, static_cast<uint32_t>(height)); // positive: rows bottom first
    putU16(out, 1);
    putU16(out, static_cast<unsigned>(bitsPerPixel));
    bytes::putU32(out, 0); // no compression
    bytes::putU32(out, static_cast<uint32_t>(rowBytes * height));
    bytes::putU32(out, 2835);
    bytes::putU32(out, 2835);
    bytes::putU32(out, static_cast<uint32_t>(paletteEntries));
    bytes::putU32(out, 0);
    for (int index = 0; index < paletteEntries; ++index) {
        uint32_t colour =
            bitsPerPixel == 1 ? (index != 0 ? 0xFFFFFFFFu : 0xFF000000u) : paletteColour(index);
        bytes::putU32(out, colour & 0x00FFFFFFu);
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<std::size_t>(rowBytes), 0);
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
            const auto at = static_cast<std::size_t>(x);
            switch (bitsPerPixel) {
            case 1:
                row[at / 8] |= static_cast<uint8_t>(((x + y) % 3 == 0 ? 1 : 0) << (7 - x % 8));
                break;
            case 8:
                row[at] = paletteIndex(x, y, width, height);
                break;
            case 24:
                row[at * 3] = blue(p);
                row[at * 3 + 1] = green(p);
                row[at * 3 + 2] = red(p);
                break;
            default:
                for (int c = 0; c < 4; ++c) {
                    row[at * 4 + static_cast<std::size_t>(c)] = static_cast<uint8_t>(p >> (8 * c));
                }
                break;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<uint8_t> encodeGif(int width, int height) {
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    putU16(out, static_cast<unsigned>(width));
    putU16(out, static_cast<unsigned>(height));
    out.insert(out.end(), {0xF7, 0, 0}); // a global table of 256 colours
    for (int index = 0; index < 256; ++index) {
        uint32_t colour = paletteColour(index);
        out.insert(out.end(), {red(colour), green(colour), blue(colour)});
    }
    out.push_back(0x2C);
    putU16(out, 0);
    putU16(out, 0);
    putU16(out, static_cast<unsigned>(width));
    putU16(out, static_cast<unsigned>(height));
    out.push_back(0);
    out.push_back(8); // LZW minimum code size

    // Every pixel as a 9-bit literal code, with a clear code before the table would need wider
    // codes: valid LZW that never compresses.
    std::vector<uint8_t> stream;
    uint32_t bits = 0;
    int bitCount = 0;
    auto putCode = [&](unsigned code) {
        bits |= code << bitCount;
        bitCount += 9;
        while (bitCount >= 8) {
            stream.push_back(static_cast<uint8_t>(bits));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    constexpr unsigned Clear = 256;
    constexpr unsigned End = 257;
    int sinceClear = 0;
    putCode(Clear);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (sinceClear == 250) {
                putCode(Clear);
                sinceClear = 0;
            }
            putCode(paletteIndex(x, y, width, height));
            ++sinceClear;
        }
    }
    putCode(End);
    if (bitCount > 0) {
        stream.push_back(static_cast<uint8_t>(bits));
    }
    for (std::size_t at = 0; at < stream.size(); at += 255) {
        std::size_t length = std::min<std::size_t>(255, stream.size() - at);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), stream.begin() + static_cast<std::ptrdiff_t>(at),
                   stream.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

std::vector<SeedFile> jpegImageSeeds() {
    return {
        {"one_pixel.jpg", encodeJpeg(1, 1, false, false, 90)},
        {"grey.jpg", encodeJpeg(16, 16, true, false, 75)},
        {"odd_size.jpg", encodeJpeg(37, 19, false, false, 50)},
        {"progressive.jpg", encodeJpeg(64, 48, false, true, 80)},
        {"large.jpg", encodeJpeg(320, 240, false, false, 85)},
    };
}

std::vector<SeedFile> pngImageSeeds() {
    return {
        {"one_pixel.png", encodePng(1, 1, PNG_FORMAT_BGRA)},
        {"rgb.png", encodePng(16, 16, PNG_FORMAT_RGB)},
        {"grey.png", encodePng(13, 7, PNG_FORMAT_GRAY)},
        {"grey_alpha.png", encodePng(9, 9, PNG_FORMAT_GA)},
        {"sixteen_bit.png", encodePng(8, 8, PNG_FORMAT_LINEAR_RGB_ALPHA)},
        {"palette.png", encodePng(32, 32, PNG_FORMAT_RGB_COLORMAP)},
        {"large.png", encodePng(256, 256, PNG_FORMAT_BGRA)},
    };
}

std::vector<SeedFile> readerImageSeeds() {
    QImage small = patternImage(12, 10);
    // 32 pixels across: a row of a 1-bit image then has no padding bits, which Qt leaves
    // unset and its writers read.
    QImage mono = patternImage(32, 10).convertToFormat(QImage::Format_Mono);
    return {
        {"mono.bmp", encodeBmp(13, 5, 1)},
        {"palette.bmp", encodeBmp(16, 16, 8)},
        {"rgb.bmp", encodeBmp(7, 3, 24)},
        {"argb.bmp", encodeBmp(4, 4, 32)},
        {"large.bmp", encodeBmp(256, 128, 24)},
        {"tiny.gif", encodeGif(3, 2)},
        {"large.gif", encodeGif(120, 90)},
        {"qt.bmp", fromQImage(small, "bmp")},
        {"icon.ico", fromQImage(patternImage(16, 16), "ico")},
        {"pixmap.ppm", fromQImage(small.convertToFormat(QImage::Format_RGB32), "ppm")},
        {"grey.pgm", fromQImage(small.convertToFormat(QImage::Format_Grayscale8), "pgm")},
        {"bitmap.pbm", fromQImage(mono, "pbm")},
        {"bitmap.xbm", fromQImage(mono, "xbm")},
        {"pixmap.xpm", fromQImage(small.convertToFormat(QImage::Format_Indexed8), "xpm")},
    };
}

} // namespace tavo::fuzz
