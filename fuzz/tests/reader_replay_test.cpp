// Every seed and every input that once broke a reader, through the fuzz targets' checks; and the
// seeds against what they were made from, so that a reader that runs clean but reads wrong shows.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>
#include <png.h>

#include "fuzz/reader_checks.h"
#include "fuzz/seeds/seed_files.h"
#include "pointeditor/data/block_file.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/view/image_decoder.h"

namespace tavo::fuzz {

// Names the target in test names and messages.
void PrintTo(const ReaderCheck& check, std::ostream* out) {
    *out << check.name;
}

namespace {

std::vector<uint8_t> readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string targetName(const testing::TestParamInfo<ReaderCheck>& info) {
    return std::string(info.param.name);
}

class ReaderReplay : public testing::TestWithParam<ReaderCheck> {};

TEST_P(ReaderReplay, SeedsPassTheChecks) {
    const std::vector<SeedFile> seeds = seedsFor(GetParam().name);
    ASSERT_GE(seeds.size(), 5u);
    for (const SeedFile& seed : seeds) {
        SCOPED_TRACE(seed.name);
        GetParam().check(seed.bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, ReaderReplay,
                         testing::ValuesIn(readerChecks().begin(), readerChecks().end()),
                         targetName);

// fuzz/regressions/<target>/ holds each input that once broke a reader, cut to its smallest.
TEST(FuzzRegressions, InputsThatOnceBrokeAReaderPassTheChecks) {
    int replayed = 0;
    for (const ReaderCheck& target : readerChecks()) {
        const std::filesystem::path folder =
            std::filesystem::path(TAVO_FUZZ_REGRESSIONS) / std::string(target.name);
        if (!std::filesystem::is_directory(folder)) {
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            SCOPED_TRACE(entry.path().string());
            target.check(readAll(entry.path()));
            ++replayed;
        }
    }
    RecordProperty("replayed", replayed);
}

const SeedFile& seedNamed(const std::vector<SeedFile>& seeds, std::string_view name) {
    for (const SeedFile& seed : seeds) {
        if (seed.name == name) {
            return seed;
        }
    }
    throw std::runtime_error("no seed " + std::string(name));
}

TEST(FuzzSeeds, PointFilesLoadTheirCompleteRecordsWithinTheTable) {
    const std::vector<SeedFile> seeds = pointFileSeeds();
    const std::pair<const char*, std::size_t> expected[] = {
        {"empty.pd1", 0},
        {"one.pd1", 1},
        {"odd_values.pd1", 4},
        {"full.pd1", 200},
        {"count_over_table.pd1", 200},
        {"negative_count.pd1", 0},
        {"cut_short.pd1", 2},
        {"one_byte.pd1", 0},
    };
    for (const auto& [name, count] : expected) {
        EXPECT_EQ(decodePointFile(seedNamed(seeds, name).bytes).records.size(), count) << name;
    }
    PointRecord odd = decodePointFile(seedNamed(seeds, "odd_values.pd1").bytes).records[3];
    EXPECT_EQ(odd.p1, -128);
    EXPECT_EQ(odd.p2, 127);
}

TEST(FuzzSeeds, BlockFilesLoadTheirCompleteRecordsWithinTheTable) {
    const std::vector<SeedFile> seeds = blockFileSeeds();
    const std::pair<const char*, std::size_t> expected[] = {
        {"names_only.bd1", 0},         {"three.bd1", 3},          {"full.bd1", 160},
        {"count_over_table.bd1", 160}, {"negative_count.bd1", 0}, {"cut_short.bd1", 2},
        {"header_cut.bd1", 0},
    };
    for (const auto& [name, count] : expected) {
        EXPECT_EQ(decodeBlockFile(seedNamed(seeds, name).bytes).blocks.size(), count) << name;
    }
    BlockFileContents three = decodeBlockFile(seedNamed(seeds, "three.bd1").bytes);
    EXPECT_STREQ(three.textureNames[2], "sub\\deep\\tile.jpg");
    EXPECT_EQ(three.blocks[1].inUse, 0);
    EXPECT_EQ(three.blocks[2].textureId[0], -1);
}

// The decoders against the pattern the seeds were made from: exact where the format is exact,
// within a small mean error for JPEG, whose colour subsampling blurs the pattern's sharp edges.
void expectPattern(const std::vector<uint8_t>& file, int width, int height, double tolerance,
                   bool alpha) {
    std::optional<DecodedImage> image = decodeImage(file);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->width, width);
    ASSERT_EQ(image->height, height);
    const std::vector<uint32_t> pattern = patternPixels(width, height);
    double error = 0.0;
    int samples = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        for (int shift = 0; shift < (alpha ? 32 : 24); shift += 8) {
            int want = static_cast<int>(pattern[i] >> shift & 0xFF);
            int got = static_cast<int>(image->pixels[i] >> shift & 0xFF);
            error += std::abs(want - got);
            ++samples;
        }
        if (!alpha) {
            ASSERT_EQ(image->pixels[i] >> 24, 0xFFu);
        }
    }
    EXPECT_LE(error / samples, tolerance);
}

TEST(FuzzSeeds, ImagesDecodeToThePatternTheyWereMadeFrom) {
    expectPattern(encodePng(5, 3, PNG_FORMAT_BGRA), 5, 3, 0, true);
    expectPattern(encodePng(16, 16, PNG_FORMAT_RGB), 16, 16, 0, false);

    expectPattern(encodeBmp(7, 3, 24), 7, 3, 0, false);
    expectPattern(encodeBmp(256, 128, 24), 256, 128, 0, false);
    expectPattern(encodeJpeg(64, 48, false, true, 95), 64, 48, 24.0, false);
    expectPattern(encodeBmp(4, 4, 32), 4, 4, 0, false);
}

TEST(FuzzSeeds, PalettedImagesKeepTheirSizeAndColours) {
    for (const auto& [file, width, height] :
         {std::tuple{encodeGif(120, 90), 120, 90}, std::tuple{encodeBmp(16, 16, 8), 16, 16},
          std::tuple{encodeBmp(13, 5, 1), 13, 5}}) {
        std::optional<DecodedImage> image = decodeImage(file);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width, width);
        EXPECT_EQ(image->height, height);
    }
    // Top-left is palette entry 0, bottom-right entry 255: rows come out top first.
    std::optional<DecodedImage> gif = decodeImage(encodeGif(120, 90));
    ASSERT_TRUE(gif.has_value());
    EXPECT_EQ(gif->pixels.front(), 0xFF000080u);
    EXPECT_EQ(gif->pixels.back(), 0xFFFFFF80u);
    std::optional<DecodedImage> bmp = decodeImage(encodeBmp(16, 16, 8));
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(bmp->pixels.front(), 0xFF000080u);
    EXPECT_EQ(bmp->pixels.back(), 0xFFFFFF80u);
}

TEST(FuzzSeeds, EveryImageSeedDecodes) {
    for (const auto& seeds : {jpegImageSeeds(), pngImageSeeds(), readerImageSeeds()}) {
        for (const SeedFile& seed : seeds) {
            EXPECT_TRUE(decodeImage(seed.bytes).has_value()) << seed.name;
        }
    }
}

} // namespace
} // namespace tavo::fuzz
