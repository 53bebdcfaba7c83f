// The libFuzzer entry of one target; TAVO_FUZZ_CHECK names the check it runs (see
// fuzz/CMakeLists.txt).

#include <cstddef>
#include <cstdint>

#include "fuzz/reader_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tavo::fuzz::TAVO_FUZZ_CHECK(std::span<const uint8_t>(data, size));
    return 0;
}
