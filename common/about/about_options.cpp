#include "common/about/about_options.h"

#include <cstdio>

namespace tavo {

std::string_view version() {
    return TAVO_VERSION;
}

std::optional<int> answerAboutOptions(int argc, const char* const* argv, std::string_view program,
                                      std::string_view usage) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            break;
        }
        if (argument == "--help" || argument == "-h") {
            std::fwrite(usage.data(), 1, usage.size(), stdout);
            return 0;
        }
        if (argument == "--version") {
            std::printf("%.*s %.*s\n", static_cast<int>(program.size()), program.data(),
                        static_cast<int>(version().size()), version().data());
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace tavo
