// PNG through libpng's full reader, told exactly which transformations to make: palette, grey
// and tRNS expanded, 16-bit samples scaled by rounding, nothing else. (The simplified reader
// converts to sRGB by the file's gAMA or iCCP chunk, so a texel would not be the stored sample.)
// libpng's errors jump back here and the image counts as unreadable.

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "pointeditor/view/image/image_decoder.h"

namespace tavo {

namespace {

// Bounds what libpng allocates for one chunk. Every chunk it could allocate for is passed over
// below; this stays as the bound should one ever be read.
constexpr png_alloc_size_t MaxChunkBytes = 8 * 1024 * 1024;

struct PngSource {
    std::span<const uint8_t> bytes;
    std::size_t at = 0;
};

struct PngJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngSource source;
    DecodedImage image;
    std::vector<png_bytep> rows;

    ~PngJob() { png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr); }
};

[[noreturn]] void onError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void readBytes(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->bytes.size() - source->at) {
        png_error(png, "file ends early");
    }
    std::memcpy(out, source->bytes.data() + source->at, length);
    source->at += length;
}

bool startJob(PngJob& job, std::span<const uint8_t> bytes) {
    job.source.bytes = bytes;
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (job.png == nullptr) {
        return false;
    }
    job.info = png_create_info_struct(job.png);
    if (job.info == nullptr) {
        return false;
    }
    png_set_read_fn(job.png, &job.source, readBytes);
    png_set_user_limits(job.png, MaxImageSide, MaxImageSide);
    png_set_chunk_malloc_max(job.png, MaxChunkBytes);
    // Only IHDR, PLTE, tRNS, IDAT and IEND decide a texel. Every other chunk, known (text,
    // profiles, gamma) or not, is passed over unread: a file of a thousand compressed texts
    // would otherwise have each inflated, for seconds each.
    png_set_keep_unknown_chunks(job.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    return true;
}

// Every sample to 8 bits, in B, G, R, A byte order: one little-endian 0xAARRGGBB word.
void chooseTransforms(png_structp png, png_infop info) {
    const int colour = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    if (colour == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
        png_set_tRNS_to_alpha(png);
    }
    if (depth == 16) {
        png_set_scale_16(png);
    }
    if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// Runs after setjmp: everything it allocates lives in the job.
void decodeInto(PngJob& job) {
    png_read_info(job.png, job.info);
    chooseTransforms(job.png, job.info);
    job.image.width = static_cast<int>(png_get_image_width(job.png, job.info));
    job.image.height = static_cast<int>(png_get_image_height(job.png, job.info));
    if (png_get_rowbytes(job.png, job.info) != static_cast<std::size_t>(job.image.width) * 4) {
        png_error(job.png, "unexpected row layout");
    }
    job.image.pixels.resize(static_cast<std::size_t>(job.image.width) * job.image.height);
    job.rows.resize(static_cast<std::size_t>(job.image.height));
    for (std::size_t y = 0; y < job.rows.size(); ++y) {
        job.rows[y] = reinterpret_cast<png_bytep>(job.image.pixels.data() + y * job.image.width);
    }
    png_read_image(job.png, job.rows.data());
    png_read_end(job.png, nullptr);
}

} // namespace

ImageHeader probePng(std::span<const uint8_t> bytes) {
    PngJob job;
    if (!startJob(job, bytes)) {
        return {0, 0, TextureProblem::Damaged};
    }
    if (setjmp(png_jmpbuf(job.png)) != 0) {
        return {0, 0, TextureProblem::Damaged};
    }
    // The user limits above would refuse a larger image as damaged; it is only too large.
    png_set_user_limits(job.png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_read_info(job.png, job.info);
    return {static_cast<int>(png_get_image_width(job.png, job.info)),
            static_cast<int>(png_get_image_height(job.png, job.info)), TextureProblem::None};
}

std::optional<DecodedImage> decodePng(std::span<const uint8_t> bytes) {
    PngJob job;
    if (!startJob(job, bytes)) {
        return std::nullopt;
    }
    if (setjmp(png_jmpbuf(job.png)) != 0) {
        return std::nullopt;
    }
    decodeInto(job);
    return std::move(job.image);
}

} // namespace tavo
