#pragma once
// The pointtool program without its process: parses the arguments, runs check, dump or build,
// and returns the exit status. main() only hands it the arguments and the standard streams, so
// tests drive the tool exactly as a shell would.

#include <ostream>
#include <string>
#include <vector>

namespace tavo::pointtool {

// arguments: argv as the bytes it holds, arguments[0] the program's name; file names are used
// as given, whatever their encoding. Returns 0 on success, 1 on a usage error, a failed read or
// write, or (check) when the file has an error.
int runPointTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace tavo::pointtool
