#pragma once
// Why a texture that a map names did not load, and the finding a map load gives for it. Apart
// from the loader and the report, so that the editor state can keep the last load's findings.

#include <string>

namespace tavo {

// Why a texture that a map names did not load.
enum class TextureProblem {
    None,
    NotFound,    // no such file, or it cannot be opened
    Unsupported, // no decoder knows the format
    Damaged,     // the format is known but the file is cut short or corrupt
    OverBudget,  // larger than one texture may be, or than what is left of the map's share
};

struct TextureFinding {
    int slot = 0;
    std::string name; // the name as the map stores it, CP932
    TextureProblem problem = TextureProblem::None;
    bool operator==(const TextureFinding&) const = default;
};

} // namespace tavo
