#pragma once
// Moving a mission file's bytes to and from the disk. Saving is one atomic step: the bytes go to a
// temporary file beside the target, which is then renamed over it, so a failure never leaves a
// half-written file and an existing file stays as it was.

#include <optional>
#include <string>
#include <string_view>

#include <QString>

namespace tavo::mission {

// The whole file, or nullopt when it cannot be opened or read.
std::optional<std::string> readFileBytes(const QString& path);

enum class SaveOutcome {
    Saved,
    CannotOpen,  // no temporary file could be made beside the target
    CannotWrite, // writing or the final rename failed
};

SaveOutcome saveFileBytes(const QString& path, std::string_view bytes);

} // namespace tavo::mission
