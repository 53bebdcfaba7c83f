// fuzz_seeds DIRECTORY: writes the seed files of every fuzz target into DIRECTORY/<target>/.

#include <filesystem>
#include <fstream>
#include <iostream>

#include "fuzz/reader_checks.h"
#include "fuzz/seeds/seed_files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_seeds DIRECTORY\n";
        return 2;
    }
    try {
        for (const tavo::fuzz::ReaderCheck& target : tavo::fuzz::readerChecks()) {
            const std::filesystem::path folder = std::filesystem::path(argv[1]) / target.name;
            std::filesystem::create_directories(folder);
            for (const tavo::fuzz::SeedFile& seed : tavo::fuzz::seedsFor(target.name)) {
                std::ofstream out(folder / seed.name, std::ios::binary | std::ios::trunc);
                out.write(reinterpret_cast<const char*>(seed.bytes.data()),
                          static_cast<std::streamsize>(seed.bytes.size()));
                if (!out) {
                    std::cerr << "cannot write " << (folder / seed.name) << "\n";
                    return 1;
                }
            }
        }
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    return 0;
}
