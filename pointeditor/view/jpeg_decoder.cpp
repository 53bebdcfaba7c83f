// JPEG through libjpeg. Its default error handler ends the process; ours jumps back here and
// the image counts as unreadable. A file that ends early is also refused: libjpeg would fill
// the missing rows with grey and call that a warning.

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jerror.h>
#include <jpeglib.h>

#include "pointeditor/view/image_decoder.h"

namespace tavo {

namespace {

struct JpegJob {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    std::jmp_buf failed{};
    DecodedImage image;
};

[[noreturn]] void failJob(j_common_ptr info) {
    auto* job = static_cast<JpegJob*>(info->client_data);
    std::longjmp(job->failed, 1);
}

void onMessage(j_common_ptr info, int level) {
    bool cutShort = info->err->msg_code == JWRN_JPEG_EOF || info->err->msg_code == JWRN_HIT_MARKER;
    if (level < 0 && cutShort) {
        failJob(info);
    }
}

void silent(j_common_ptr) {}

// Runs after setjmp: everything it allocates lives in the job, so a jump out of libjpeg
// leaves nothing behind that the caller does not free.
void decodeInto(JpegJob& job, std::span<const uint8_t> bytes) {
    jpeg_mem_src(&job.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&job.info, TRUE);
    if (job.info.image_width == 0 || job.info.image_height == 0 ||
        job.info.image_width > MaxImageSide || job.info.image_height > MaxImageSide) {
        failJob(reinterpret_cast<j_common_ptr>(&job.info));
    }
    // Little-endian B, G, R, A bytes are one 0xAARRGGBB word each.
    job.info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&job.info);
    job.image.width = static_cast<int>(job.info.output_width);
    job.image.height = static_cast<int>(job.info.output_height);
    job.image.pixels.resize(static_cast<std::size_t>(job.image.width) * job.image.height);
    while (job.info.output_scanline < job.info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(
            job.image.pixels.data() +
            static_cast<std::size_t>(job.info.output_scanline) * job.image.width);
        jpeg_read_scanlines(&job.info, &row, 1);
    }
    jpeg_finish_decompress(&job.info);
}

} // namespace

std::optional<DecodedImage> decodeJpeg(std::span<const uint8_t> bytes) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    auto job = std::make_unique<JpegJob>();
    job->info.err = jpeg_std_error(&job->errors);
    job->errors.error_exit = failJob;
    job->errors.emit_message = onMessage;
    job->errors.output_message = silent;
    job->info.client_data = job.get();
    jpeg_create_decompress(&job->info);
    if (setjmp(job->failed) != 0) {
        jpeg_destroy_decompress(&job->info);
        return std::nullopt;
    }
    decodeInto(*job, bytes);
    jpeg_destroy_decompress(&job->info);
    return std::move(job->image);
}

} // namespace tavo
