#pragma once
// The command line of pointeditor-render.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace tavo {

struct RenderOptions {
    std::optional<int> english; // unset: the locale decides, as in the editor
    std::string blockFile;
    std::string pointFile;
    std::optional<float> zoom;
    std::optional<std::array<float, 3>> pan;    // panX, panY, panZ as stored
    std::optional<std::array<float, 5>> camera; // x, y, z in 3D-view units, yaw, pitch
    std::optional<std::array<int, 4>> params;   // currentParams p1..p4
    std::vector<int> select;                    // ids (p4) of the points to select
    std::string output;
    bool strict = false; // findings (what did not load, a damaged file) make the exit status 2
    bool help = false;
    bool version = false;
};

// The options, or the one line that says what is wrong with the command line.
Result<RenderOptions, std::string> parseRenderOptions(std::span<const std::string_view> arguments);

std::string_view renderUsage();

} // namespace tavo
