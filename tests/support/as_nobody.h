#pragma once
// Root passes the kernel's permission checks; a test of what a user may not do runs that user's
// part in a forked child (runGuarded) that first becomes nobody for good.

#include <grp.h>
#include <initializer_list>
#include <unistd.h>

namespace tavo::testing {

inline constexpr uid_t NobodyId = 65534;

// In the child: false when the process is not root or could not drop its rights. Nobody belongs
// to `groups` besides its own.
inline bool becomeNobody(std::initializer_list<gid_t> groups = {}) {
    return ::geteuid() == 0 && ::setgroups(groups.size(), groups.begin()) == 0 &&
           ::setresgid(NobodyId, NobodyId, NobodyId) == 0 &&
           ::setresuid(NobodyId, NobodyId, NobodyId) == 0;
}

} // namespace tavo::testing
