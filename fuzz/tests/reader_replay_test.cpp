// Every seed and every input that once broke a reader, through the fuzz targets' checks.

#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "fuzz/reader_checks.h"
#include "fuzz/seeds/seed_files.h"

namespace tavo::fuzz {

void PrintTo(const ReaderCheck& check, std::ostream* out) {
    *out << check.name;
}

namespace {

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
                         [](const auto& target) { return std::string(target.param.name); });

// fuzz/regressions/<target>/ holds each input that once broke a reader, cut to its smallest.
TEST(FuzzRegressions, InputsThatOnceBrokeAReaderPassTheChecks) {
    int replayed = 0;
    for (const ReaderCheck& target : readerChecks()) {
        const auto folder = std::filesystem::path(TAVO_FUZZ_REGRESSIONS) / target.name;
        if (!std::filesystem::is_directory(folder)) {
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            SCOPED_TRACE(entry.path().string());
            std::ifstream in(entry.path(), std::ios::binary);
            target.check(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}));
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0) << "no regression inputs found under " << TAVO_FUZZ_REGRESSIONS;
}

} // namespace
} // namespace tavo::fuzz
