#pragma once
// The link check of points: links that name no point or a shared id (errors), and the smaller
// slips a mission author makes (warnings), each told in English and in Japanese. `pointtool
// check` runs it over a file, the editor over its point table; slot numbers are the editor's.
// A file's own damage (a count that disagrees with its length, numbers that are not finite) is
// found here as well, so that loading a file and checking it tell the same.

#include <string>
#include <vector>

#include "pointeditor/data/block_file.h"
#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/point_file.h"

namespace tavo {

enum class Severity { Error, Warning };

struct Finding {
    int slot = -1; // -1: about the file as a whole; id and kind then mean nothing
    int id = 0;
    int kind = 0;
    Severity severity = Severity::Warning;
    std::string message;           // English
    std::string japanese;          // the same in Japanese
    std::vector<int> relatedSlots; // the other points the finding is about, ascending

    const std::string& text(bool english) const { return english ? message : japanese; }
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

// Checks decoded point file contents as the editor would load them, and their positions
// against `map` when one is given.
CheckReport checkPoints(const PointFileContents& file, const BlockFileContents* map = nullptr);

// Checks the points in use of the editor's table, where they are.
CheckReport checkPointTable(const PointTable& table);

// What is wrong with a file as a file: its count against its length, and the positions and
// headings that are not finite numbers.
std::vector<Finding> pointFileFindings(const PointFileContents& file);

// "error: slot 12, id 7, PATH: links to id 9, which no point has"; "warning: file: ..." for a
// finding about the file as a whole. In Japanese with `english` false.
std::string describeFinding(const Finding& finding, bool english);

} // namespace tavo
