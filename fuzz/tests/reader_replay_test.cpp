// Every seed and every input that once broke a reader, through the fuzz targets' checks.

#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "fuzz/reader_checks.h"

namespace tavo::fuzz {

// NOLINTNEXTLINE(readability-identifier-naming): the name GoogleTest looks for
void PrintTo(const ReaderCheck& check, std::ostream* out) {
    *out << check.name;
}

namespace {

namespace fs = std::filesystem;

class ReaderReplay : public testing::TestWithParam<ReaderCheck> {};

TEST_P(ReaderReplay, SeedsAndInputsThatOnceBrokeAReaderPassTheChecks) {
    // corpus/<target>/ holds the seeds; regressions/<target>/ each input that once broke a
    // reader, cut to its smallest (a target without such inputs has no folder).
    const fs::path seeds = fs::path(TAVO_FUZZ_CORPUS) / GetParam().name;
    ASSERT_TRUE(fs::is_directory(seeds)) << seeds;
    ASSERT_TRUE(fs::is_directory(TAVO_FUZZ_REGRESSIONS)) << TAVO_FUZZ_REGRESSIONS;
    std::size_t seedCount = 0;
    for (const fs::path& folder : {seeds, fs::path(TAVO_FUZZ_REGRESSIONS) / GetParam().name}) {
        std::error_code none;
        for (const auto& entry : fs::directory_iterator(folder, none)) {
            SCOPED_TRACE(entry.path().string());
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            GetParam().check(bytes);
            seedCount += folder == seeds;
        }
    }
    EXPECT_GE(seedCount, 5u);
}

INSTANTIATE_TEST_SUITE_P(Fuzz, ReaderReplay, testing::ValuesIn(ReaderChecks),
                         [](const auto& target) { return std::string(target.param.name); });

} // namespace
} // namespace tavo::fuzz
