#pragma once
// pointeditor [j|e] [--inspector] [MAP.bd1] [POINTS.pd1] [MISSION.mif]: the language letter
// first, then the files in any order, told apart by their extension or, without a known one, by
// their content. A mission stands for its map and points, found as the game finds them
// (mission_paths.h). --inspector may stand anywhere.

#include <string>
#include <vector>

namespace tavo {

struct CommandLine {
    std::string language;             // the argument that chooses the language, empty when none
    std::string mapPath;              // the last map named, empty when none
    std::string pointPath;            // the last points file named, empty when none
    std::string missionPath;          // the last mission named, empty when none
    std::vector<std::string> refused; // files that are none of the three, in order
    bool inspector = false;           // --inspector: the point inspector opens at start
};

// arguments: everything after the program's name (Qt's own options already taken out). The
// first argument is the language letter unless it names a file: a .bd1, .pd1 or .mif name, or a
// file that exists.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// "notes.txt is not a map (.bd1), points (.pd1) or mission (.mif) file; not opened", in English
// or in Japanese, the name printable.
std::string refusedFileText(const std::string& path, bool english);

} // namespace tavo
