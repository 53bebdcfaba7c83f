#pragma once
// One function per reader: it feeds the bytes through the code the programs use and checks what
// came out. The fuzz targets call them for every input, the replay tests for every seed and every
// input that once broke a reader.

#include <cstdint>
#include <span>
#include <string_view>

namespace tavo::fuzz {

void checkPointFile(std::span<const uint8_t> bytes);
void checkBlockFile(std::span<const uint8_t> bytes);
void checkJpegImage(std::span<const uint8_t> bytes);
void checkPngImage(std::span<const uint8_t> bytes);
void checkReaderImage(std::span<const uint8_t> bytes); // BMP, GIF and the rest, through Qt
void checkMissionFile(std::span<const uint8_t> bytes);
// A switch byte, a 16-bit length, that many bytes of point file, the rest a block file: drawn
// as one frame of the point editor.
void checkFrame(std::span<const uint8_t> bytes);
// A kind of path (FIFO, directory, link, sparse file...), a read limit and a mode, then bytes:
// through the reader and the writer of every program.
void checkFileAccess(std::span<const uint8_t> bytes);
// pointtool's text form through the parser of `pointtool build`.
void checkPointText(std::span<const uint8_t> bytes);
// An image file as a map's texture on a real device, then drawn.
void checkTextureUpload(std::span<const uint8_t> bytes);
// A start state (switches, mode, zoom, selection, parameters, pan, a point file), then 6-byte
// events through the editor's message dispatch; the state's invariants after each.
void checkEventSequence(std::span<const uint8_t> bytes);

struct ReaderCheck {
    std::string_view name; // names the fuzz target, its seed folder and its regression folder
    void (*check)(std::span<const uint8_t>);
};

inline constexpr ReaderCheck ReaderChecks[] = {
    {"point_file", checkPointFile},
    {"block_file", checkBlockFile},
    {"jpeg_image", checkJpegImage},
    {"png_image", checkPngImage},
    {"bmp_image", checkReaderImage}, // the format Windows maps use most
    {"reader_image", checkReaderImage},
    {"file_access", checkFileAccess},
    {"point_text", checkPointText},
    {"mission_file", checkMissionFile},
    {"map_frame", checkFrame},
    {"texture_upload", checkTextureUpload},
    {"event_sequence", checkEventSequence},
};

} // namespace tavo::fuzz
