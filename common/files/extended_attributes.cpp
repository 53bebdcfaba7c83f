#include "common/files/extended_attributes.h"

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

#include "common/files/file_descriptor.h"

namespace tavo {
namespace {

constexpr std::string_view AclName = "system.posix_acl_access";
// Capabilities, like set-id bits, belong to the program that was there, not to new bytes.
constexpr std::string_view CapabilityName = "security.capability";
// The kernel's own bounds on a list of names and on one value (XATTR_LIST_MAX, XATTR_SIZE_MAX).
constexpr std::size_t ListLimit = 65536;
constexpr std::size_t ValueLimit = 65536;

constexpr uint32_t AclVersion = 2;
constexpr std::size_t AclHeaderSize = 4;
constexpr std::size_t AclEntrySize = 8;
constexpr uint16_t AclGroupOwnerTag = 0x04;

uint32_t littleEndian(std::span<const uint8_t> bytes) {
    uint32_t value = 0;
    for (std::size_t i = bytes.size(); i > 0; --i) {
        value = value << 8 | bytes[i - 1];
    }
    return value;
}

// Reads through the descriptor when the old file could be opened, else through its path: a file
// the user may write but not read still shows its ACL.
class AttributeSource {
public:
    explicit AttributeSource(const std::string& path)
        : path_(path), file_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)) {}

    // Whether the descriptor, when there is one, is the file that was looked at.
    bool is(const struct stat& old) const {
        struct stat info {};
        return file_.get() < 0 || (::fstat(file_.get(), &info) == 0 && info.st_dev == old.st_dev &&
                                   info.st_ino == old.st_ino);
    }
    ssize_t list(std::vector<char>& names) const {
        return file_.get() >= 0 ? ::flistxattr(file_.get(), names.data(), names.size())
                                : ::listxattr(path_.c_str(), names.data(), names.size());
    }
    ssize_t get(const char* name, std::vector<uint8_t>& value) const {
        return file_.get() >= 0 ? ::fgetxattr(file_.get(), name, value.data(), value.size())
                                : ::getxattr(path_.c_str(), name, value.data(), value.size());
    }

private:
    const std::string& path_;
    FileDescriptor file_;
};

} // namespace

void copyExtendedAttributes(const std::string& from, const struct stat& old, int to) {
    const AttributeSource source(from);
    if (!source.is(old)) {
        return; // replaced since: the rename will replace that one too
    }
    std::vector<char> names(ListLimit);
    const ssize_t listed = source.list(names);
    if (listed <= 0) {
        return; // none, or a file system without them
    }
    std::vector<uint8_t> value(ValueLimit);
    std::string_view rest(names.data(), static_cast<std::size_t>(listed));
    while (!rest.empty()) {
        const std::size_t end = rest.find('\0');
        const std::string name(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (name.empty() || name == CapabilityName) {
            continue;
        }
        const ssize_t size = source.get(name.c_str(), value);
        const bool copied = size >= 0 && ::fsetxattr(to, name.c_str(), value.data(),
                                                     static_cast<std::size_t>(size), 0) == 0;
        if (!copied && name == AclName) {
            ::fchmod(to, modeWithoutAcl(old.st_mode,
                                        std::span(value.data(),
                                                  size > 0 ? static_cast<std::size_t>(size) : 0)));
        }
    }
}

mode_t modeWithoutAcl(mode_t old, std::span<const uint8_t> acl) {
    const std::optional<unsigned> owner = aclGroupOwnerPermissions(acl);
    const mode_t group = owner ? static_cast<mode_t>(*owner << 3) & old & S_IRWXG : 0;
    return (old & 07777 & ~static_cast<mode_t>(S_ISUID | S_ISGID | S_IRWXG)) | group;
}

std::optional<unsigned> aclGroupOwnerPermissions(std::span<const uint8_t> value) {
    if (value.size() < AclHeaderSize || (value.size() - AclHeaderSize) % AclEntrySize != 0 ||
        littleEndian(value.first(AclHeaderSize)) != AclVersion) {
        return std::nullopt;
    }
    for (std::size_t at = AclHeaderSize; at < value.size(); at += AclEntrySize) {
        const std::span<const uint8_t> entry = value.subspan(at, AclEntrySize);
        if (littleEndian(entry.first(2)) == AclGroupOwnerTag) {
            return littleEndian(entry.subspan(2, 2)) & 07u;
        }
    }
    return std::nullopt;
}

} // namespace tavo
