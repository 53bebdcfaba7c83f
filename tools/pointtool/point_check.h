#pragma once
// The checks of `pointtool check`: links that name no point or a shared id (errors), and the
// smaller slips a mission author makes (warnings). The records sit in slots 0, 1, 2... in file
// order, as the editor loads them, so slot numbers here are the editor's.

#include <string>
#include <vector>

#include "pointeditor/data/block_file.h"
#include "pointeditor/data/point_file.h"

namespace tavo::pointtool {

enum class Severity { Error, Warning };

struct Finding {
    int slot = -1; // -1: about the file as a whole; id and kind then mean nothing
    int id = 0;
    int kind = 0;
    Severity severity = Severity::Warning;
    std::string message;
    std::vector<int> relatedSlots; // the other points the finding is about, ascending
};

struct CheckSummary {
    int points = 0;
    int humans = 0;     // counted as the editor's human count does: HUMAN and HUMAN(EMPTY HANDED)
    int pathPoints = 0; // PATH and RANDOM PATH
    int events = 0;
    int errors = 0;
    int warnings = 0;
};

struct CheckReport {
    std::vector<Finding> findings; // file first, then by slot
    CheckSummary summary;
};

// Points lying farther than this outside the bounding box of the map's blocks are reported.
inline constexpr float MapMargin = 10.0f;

// Checks decoded point file contents, and their positions against `map` when one is given.
CheckReport checkPoints(const PointFileContents& file, const BlockFileContents* map = nullptr);

} // namespace tavo::pointtool
