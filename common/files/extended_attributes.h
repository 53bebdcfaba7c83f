#pragma once
// Carrying a file's extended attributes over to the new file that replaces it: user notes
// (user.*), the POSIX ACL (system.posix_acl_access), security labels where the user may set them.
// Only the writer uses this; it is a file of its own so that the ACL's byte layout, which comes
// from outside, can be read and tested on its own.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <sys/stat.h>

namespace tavo {

// Copies every extended attribute but file capabilities of the file `from` names (`old` is what
// stat() said of it) to the open file `to`, whose mode is already the old one. An attribute that
// cannot be read or set is left out: the save goes on without it. When the old file's ACL is left
// out, the new file's group bits become what the ACL gave the file's group, never more: an ACL
// keeps its mask in the group bits, and without the ACL those bits would be the group's own (wider)
// permission.
void copyExtendedAttributes(const std::string& from, const struct stat& old, int to);

// The mode of a file whose ACL (`acl`, the attribute's bytes) could not follow it, from the old
// file's mode: no set-id bits, and as group bits what the ACL's group-owner entry gave, never
// more than the old group bits (the ACL's mask); none when the ACL cannot be read.
mode_t modeWithoutAcl(mode_t old, std::span<const uint8_t> acl);

// The permissions (read 4, write 2, execute 1) an access ACL's group-owner entry holds, from the
// attribute's bytes as the kernel gives them: a version (2), then 8-byte entries of tag,
// permissions and id, little-endian. Nothing when the bytes are no such ACL or hold no such entry.
std::optional<unsigned> aclGroupOwnerPermissions(std::span<const uint8_t> value);

} // namespace tavo
