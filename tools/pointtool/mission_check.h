#pragma once
// The check of a whole mission: its information file's fields, every file it names found as the
// game finds them (mission_paths.h), the map and the points loaded and checked as `pointtool
// check --map` checks them, where the points stand on the map (point_placement.h), and the
// briefing images read by the editor's own image reader. `pointtool check-mission` runs it on a
// file, the mission editor on what its dialog holds. Nothing here shows anything.

#include <optional>
#include <string>
#include <vector>

#include "missioneditor/mission_info.h"
#include "pointeditor/data/point_check.h"

namespace tavo {

struct MissionFinding {
    mission::Field field;        // the field it is about; the points' and map's own under PointPath
    bool fromPointCheck = false; // a finding of the point check, told as `check` tells it
    Finding finding;             // slot -1 unless it is about one point
};

enum class RootSource {
    Given,    // --root, or the caller's choice
    Found,    // the nearest folder from the start upwards from which the map's path leads to it
    NotFound, // no such folder: the start itself, where every path was looked for
};

struct MissionReport {
    std::string root;
    RootSource rootSource = RootSource::NotFound;
    std::vector<MissionFinding> findings; // the fields in file order, the points' last
    CheckSummary summary; // the points when they were read; errors and warnings of every finding
};

// `read`, when the fields come from a file: what reading it had to cut or replace. `start`: the
// folder the root is looked for from (the mission file's, else the working directory).
MissionReport checkMission(const mission::MissionInfo& info, const mission::MissionRead* read,
                           const std::string& start, const std::optional<std::string>& root);

// "error: pathname of block: ..." for a field, or as describeFinding for the point check's.
std::string describeMissionFinding(const MissionFinding& finding, bool english);

// "root: /games/tavo (the nearest folder above the mission that holds its map)"
std::string describeRoot(const MissionReport& report, bool english);

} // namespace tavo
