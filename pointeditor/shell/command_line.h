#pragma once
// pointeditor [j|e] [--inspector] [MAP.bd1] [POINTS.pd1]: the language letter first, then the
// files in any order, told apart by their extension or, without a known one, by their size.
// --inspector may stand anywhere.

#include <string>
#include <vector>

namespace tavo {

struct CommandLine {
    std::string language;   // the argument that chooses the language, empty when none
    std::string mapPath;    // the last map named, empty when none
    std::string pointPath;  // the last points file named, empty when none
    bool inspector = false; // --inspector: the point inspector opens at start
};

// arguments: everything after the program's name (Qt's own options already taken out). The
// first argument is the language letter unless it names a file: a .bd1 or .pd1 name, or a file
// that exists.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

} // namespace tavo
