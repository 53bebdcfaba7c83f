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

namespace fs = std::filesystem;

class ReaderReplay : public testing::TestWithParam<ReaderCheck> {};

TEST_P(ReaderReplay, SeedsAndInputsThatOnceBrokeAReaderPassTheChecks) {
    std::vector<SeedFile> inputs = seedsFor(GetParam().name);
    ASSERT_GE(inputs.size(), 5u);
    // fuzz/regressions/<target>/ holds each input that once broke a reader, cut to its smallest.
    ASSERT_TRUE(fs::is_directory(TAVO_FUZZ_REGRESSIONS)) << TAVO_FUZZ_REGRESSIONS;
    const fs::path folder = fs::path(TAVO_FUZZ_REGRESSIONS) / GetParam().name;
    std::error_code none; // a target without such inputs has no folder
    for (const auto& entry : fs::directory_iterator(folder, none)) {
        std::ifstream in(entry.path(), std::ios::binary);
        inputs.push_back({entry.path().string(), {std::istreambuf_iterator<char>(in), {}}});
    }
    for (const SeedFile& input : inputs) {
        SCOPED_TRACE(input.name);
        GetParam().check(input.bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, ReaderReplay,
                         testing::ValuesIn(readerChecks().begin(), readerChecks().end()),
                         [](const auto& target) { return std::string(target.param.name); });

} // namespace
} // namespace tavo::fuzz
