#include "pointeditor/shell/render_options.h"

#include <charconv>
#include <cmath>
#include <utility>

namespace tavo {

namespace {

std::optional<float> parseFloat(std::string_view text) {
    float value = 0.0f;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> parseInt(std::string_view text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// "a,b,c" with exactly N numbers.
template <typename T, std::size_t N, typename Parse>
std::optional<std::array<T, N>> parseList(std::string_view text, Parse parse) {
    std::array<T, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        std::size_t comma = text.find(',');
        if ((comma == std::string_view::npos) != (i == N - 1)) {
            return std::nullopt;
        }
        auto value = parse(text.substr(0, comma));
        if (!value) {
            return std::nullopt;
        }
        values[i] = *value;
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return values;
}

bool isSignedByte(int value) {
    return value >= -128 && value <= 127;
}

} // namespace

std::string_view renderUsage() {
    return "usage: pointeditor-render [options] -o FILE.png\n"
           "Writes the 800 x 600 frame that the point editor shows, without a display.\n"
           "  --lang e|j              names and messages in English or Japanese\n"
           "  --block FILE.bd1        the map to load\n"
           "  --points FILE.pd1       the points to load\n"
           "  --zoom Z                pixels per world unit of the 2D panes, 0.1 to 10\n"
           "  --pan X,Y,Z             the stored panX, panY, panZ (Y and Z are negated)\n"
           "  --camera X,Y,Z,YAW,PITCH  the 3D camera, in 3D-view units and radians\n"
           "  --params P1,P2,P3,P4    the current parameters, -128 to 127\n"
           "  --select ID...          select the points whose id number is one of these\n"
           "  -o FILE.png             where to write the frame\n"
           "  --strict                exit with status 2 when something did not load or a\n"
           "                          file was not whole\n"
           "  --help, --version\n";
}

Result<RenderOptions, std::string> parseRenderOptions(std::span<const std::string_view> arguments) {
    RenderOptions options;
    auto fail = [](std::string message) {
        return Result<RenderOptions, std::string>(std::move(message));
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view option = arguments[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option == "--version") {
            options.version = true;
            continue;
        }
        if (option == "--strict") {
            options.strict = true;
            continue;
        }
        if (option == "--select") {
            bool any = false;
            while (i + 1 < arguments.size()) {
                auto id = parseInt(arguments[i + 1]);
                if (!id) {
                    break;
                }
                if (!isSignedByte(*id)) {
                    return fail("--select: id " + std::string(arguments[i + 1]) +
                                " is outside -128..127");
                }
                options.select.push_back(*id);
                any = true;
                ++i;
            }
            if (!any) {
                return fail("--select needs at least one id number");
            }
            continue;
        }
        const bool known = option == "--lang" || option == "--block" || option == "--points" ||
                           option == "--zoom" || option == "--pan" || option == "--camera" ||
                           option == "--params" || option == "-o";
        if (!known) {
            return fail("unknown option " + std::string(option) + " (see --help)");
        }
        if (i + 1 >= arguments.size()) {
            return fail(std::string(option) + " needs a value");
        }
        const std::string_view value = arguments[++i];
        if (option == "--lang") {
            if (value != "e" && value != "j") {
                return fail("--lang takes e or j");
            }
            options.english = value == "e" ? 1 : 0;
        } else if (option == "--block") {
            options.blockFile = value;
        } else if (option == "--points") {
            options.pointFile = value;
        } else if (option == "-o") {
            options.output = value;
        } else if (option == "--zoom") {
            auto zoom = parseFloat(value);
            if (!zoom || *zoom < 0.1f || *zoom > 10.0f) {
                return fail("--zoom takes a number from 0.1 to 10");
            }
            options.zoom = zoom;
        } else if (option == "--pan") {
            options.pan = parseList<float, 3>(value, parseFloat);
            if (!options.pan) {
                return fail("--pan takes three numbers X,Y,Z");
            }
        } else if (option == "--camera") {
            options.camera = parseList<float, 5>(value, parseFloat);
            if (!options.camera) {
                return fail("--camera takes five numbers X,Y,Z,YAW,PITCH");
            }
        } else if (option == "--params") {
            options.params = parseList<int, 4>(value, parseInt);
            if (!options.params || !isSignedByte((*options.params)[0]) ||
                !isSignedByte((*options.params)[1]) || !isSignedByte((*options.params)[2]) ||
                !isSignedByte((*options.params)[3])) {
                return fail("--params takes four numbers from -128 to 127");
            }
        }
    }
    if (!options.help && !options.version && options.output.empty()) {
        return fail("no output file: give -o FILE.png");
    }
    return options;
}

} // namespace tavo
