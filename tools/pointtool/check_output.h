#pragma once
// How `pointtool check` prints its findings: one line each for people, or a JSON array for
// scripts and editors.

#include <string>
#include <vector>

#include "pointeditor/data/point_check.h"
#include "tools/pointtool/mission_check.h"

namespace tavo::pointtool {

// "error: slot 12, id 7, PATH: links to id 9, which no point has"; "warning: file: ..." for a
// finding about the file as a whole.
std::string formatFinding(const Finding& finding);

// "200 points, 40 humans, 80 path points, 10 events: 0 errors, 3 warnings"
std::string formatSummary(const CheckSummary& summary);

// An array of {"slot", "id", "kind", "severity", "message", "relatedSlots"} objects; slot, id
// and kind are null for findings about the whole file.
std::string findingsToJson(const std::vector<Finding>& findings);

// {"root", "rootSource", "findings"}: the root's folder, "given", "found" or "none", and the
// findings as findingsToJson gives them, each with "field", the mission field it is about
// ("blockPath"...; the points' and map's own findings "pointPath").
std::string missionReportToJson(const MissionReport& report);

} // namespace tavo::pointtool
