// JPEG through libjpeg. Its default error handler ends the process; ours jumps back here and
// the image counts as unreadable. A file that ends early is also refused: libjpeg would fill
// the missing rows with grey and call that a warning. So is a progressive file with far more
// scans than any encoder writes: each scan passes over the whole image again, and a small file
// of repeated scans would keep the decoder busy for minutes.

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jerror.h>
#include <jpeglib.h>

#include "pointeditor/view/image/image_decoder.h"

namespace tavo {

namespace {

// Encoders write about ten scans; a script of successive approximation for four components
// stays well below this.
constexpr int MaxScans = 200;

struct JpegJob {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    std::jmp_buf failed{};
    DecodedImage image;
    std::vector<uint8_t> inkRow; // one row of C, M, Y, K samples
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

void countScans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MaxScans) {
        failJob(info);
    }
}

// One 8-bit product of two samples, rounded.
uint32_t times(uint32_t a, uint32_t b) {
    return (a * b + 127) / 255;
}

// Ink to light, the plain way: no colour profile. Adobe's encoders store CMYK inverted (255 is
// no ink), and they mark their files with an Adobe marker.
void inkToArgb(const uint8_t* ink, uint32_t* out, int width, bool inverted) {
    for (int x = 0; x < width; ++x, ink += 4) {
        uint32_t c = inverted ? ink[0] : 255u - ink[0];
        uint32_t m = inverted ? ink[1] : 255u - ink[1];
        uint32_t y = inverted ? ink[2] : 255u - ink[2];
        uint32_t k = inverted ? ink[3] : 255u - ink[3];
        out[x] = 0xFF000000u | times(c, k) << 16 | times(m, k) << 8 | times(y, k);
    }
}

void startJob(JpegJob& job, std::span<const uint8_t> bytes) {
    jpeg_mem_src(&job.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&job.info, TRUE);
}

// Runs after setjmp: everything it allocates lives in the job, so a jump out of libjpeg
// leaves nothing behind that the caller does not free.
void decodeInto(JpegJob& job, std::span<const uint8_t> bytes) {
    startJob(job, bytes);
    if (job.info.image_width == 0 || job.info.image_height == 0 ||
        job.info.image_width > MaxImageSide || job.info.image_height > MaxImageSide) {
        failJob(reinterpret_cast<j_common_ptr>(&job.info));
    }
    bool ink = job.info.jpeg_color_space == JCS_CMYK || job.info.jpeg_color_space == JCS_YCCK;
    // Little-endian B, G, R, A bytes are one 0xAARRGGBB word each.
    job.info.out_color_space = ink ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&job.info);
    job.image.width = static_cast<int>(job.info.output_width);
    job.image.height = static_cast<int>(job.info.output_height);
    job.image.pixels.resize(static_cast<std::size_t>(job.image.width) * job.image.height);
    job.inkRow.resize(ink ? static_cast<std::size_t>(job.image.width) * 4 : 0);
    while (job.info.output_scanline < job.info.output_height) {
        uint32_t* pixels = job.image.pixels.data() +
                           static_cast<std::size_t>(job.info.output_scanline) * job.image.width;
        JSAMPROW row = ink ? job.inkRow.data() : reinterpret_cast<JSAMPROW>(pixels);
        if (jpeg_read_scanlines(&job.info, &row, 1) == 1 && ink) {
            inkToArgb(job.inkRow.data(), pixels, job.image.width, job.info.saw_Adobe_marker);
        }
    }
    jpeg_finish_decompress(&job.info);
}

std::unique_ptr<JpegJob> newJob() {
    auto job = std::make_unique<JpegJob>();
    job->info.err = jpeg_std_error(&job->errors);
    job->errors.error_exit = failJob;
    job->errors.emit_message = onMessage;
    job->errors.output_message = silent;
    job->progress.progress_monitor = countScans;
    job->info.client_data = job.get();
    jpeg_create_decompress(&job->info);
    job->info.progress = &job->progress;
    return job;
}

} // namespace

ImageHeader probeJpeg(std::span<const uint8_t> bytes) {
    if (bytes.empty()) {
        return {0, 0, TextureProblem::Unsupported};
    }
    auto job = newJob();
    if (setjmp(job->failed) != 0) {
        jpeg_destroy_decompress(&job->info);
        return {0, 0, TextureProblem::Damaged};
    }
    startJob(*job, bytes);
    ImageHeader header{static_cast<int>(job->info.image_width),
                       static_cast<int>(job->info.image_height), TextureProblem::None};
    jpeg_destroy_decompress(&job->info);
    return header;
}

std::optional<DecodedImage> decodeJpeg(std::span<const uint8_t> bytes) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    auto job = newJob();
    if (setjmp(job->failed) != 0) {
        jpeg_destroy_decompress(&job->info);
        return std::nullopt;
    }
    decodeInto(*job, bytes);
    jpeg_destroy_decompress(&job->info);
    return std::move(job->image);
}

} // namespace tavo
