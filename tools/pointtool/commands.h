#pragma once
// The pointtool program without its process: parses the arguments, runs check, dump or build,
// and returns the exit status. main() only hands it the arguments and the standard streams, so
// tests drive the tool exactly as a shell would.

#include <QStringList>
#include <ostream>

namespace tavo::pointtool {

// arguments[0] is the program name, as in QCoreApplication::arguments(). Returns 0 on success,
// 1 on a usage error, a failed read or write, or (check) when the file has an error.
int runPointTool(const QStringList& arguments, std::ostream& out, std::ostream& err);

} // namespace tavo::pointtool
