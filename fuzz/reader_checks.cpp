#include "fuzz/reader_checks.h"

#include <array>

namespace tavo::fuzz {

std::span<const ReaderCheck> readerChecks() {
    static constexpr std::array Checks = {
        ReaderCheck{"point_file", checkPointFile},     ReaderCheck{"block_file", checkBlockFile},
        ReaderCheck{"jpeg_image", checkJpegImage},     ReaderCheck{"png_image", checkPngImage},
        ReaderCheck{"bmp_image", checkReaderImage}, // the format Windows maps use most
        ReaderCheck{"reader_image", checkReaderImage},
#ifdef TAVO_FUZZ_MISSION
        ReaderCheck{"mission_file", checkMissionFile},
#endif
#ifdef TAVO_FUZZ_FRAME
        ReaderCheck{"map_frame", checkFrame},
#endif
    };
    return Checks;
}

} // namespace tavo::fuzz
