#pragma once
// Failing storage is set up in a child process, so that a file-size limit, a private mount or a
// dropped privilege never reaches the test runner. The child runs one save and reports what it
// saw as text through a pipe.

#include <functional>
#include <optional>
#include <string>
#include <sys/resource.h>

namespace tavo::testing {

struct ChildSetup {
    // RLIMIT_FSIZE for the child, with SIGXFSZ ignored so that a write past it fails with EFBIG
    // like one on a full disk instead of ending the process.
    std::optional<rlim_t> fileSizeLimit;
    // Run as the unprivileged user "nobody" when started as root: root writes through permission
    // bits, so a read-only file or directory only stops a save made by an ordinary user.
    bool unprivileged = false;
    // Mount a tmpfs of this many bytes over `tmpfsAt` in a mount namespace of the child's own.
    std::optional<std::string> tmpfsAt;
    std::size_t tmpfsBytes = 0;
};

struct ChildResult {
    bool ran = false;   // the child got as far as running the work
    std::string report; // what the work returned, or why the setup failed
};

// Runs `work` in a forked child set up as asked. When the setup cannot be made (no privilege to
// mount, no user to drop to), ran is false and report says why.
ChildResult runInChild(const ChildSetup& setup, const std::function<std::string()>& work);

// Fills the file system that holds `directory` to the last byte with a file named `name`.
bool fillFileSystem(const std::string& directory, const std::string& name);

} // namespace tavo::testing
