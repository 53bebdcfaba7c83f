#include "fuzz/reader_checks.h"

#include <array>

namespace tavo::fuzz {

std::span<const ReaderCheck> readerChecks() {
    static constexpr std::array Checks = {
        ReaderCheck{"point_file", checkPointFile},
        ReaderCheck{"block_file", checkBlockFile},
        ReaderCheck{"jpeg_image", checkJpegImage},
        ReaderCheck{"png_image", checkPngImage},
        ReaderCheck{"bmp_image", checkReaderImage}, // the format Windows maps use most
        ReaderCheck{"reader_image", checkReaderImage},
        ReaderCheck{"file_access", checkFileAccess},
        ReaderCheck{"point_text", checkPointText},
        ReaderCheck{"mission_file", checkMissionFile},
        ReaderCheck{"map_frame", checkFrame},
        ReaderCheck{"texture_upload", checkTextureUpload},
        ReaderCheck{"event_sequence", checkEventSequence},
    };
    return Checks;
}

} // namespace tavo::fuzz
