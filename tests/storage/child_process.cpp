#include "tests/storage/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tavo::testing {
namespace {

constexpr uid_t kNobody = 65534;

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote <= 0 && errno != EINTR) {
            return;
        }
        done += wrote > 0 ? static_cast<std::size_t>(wrote) : 0;
    }
}

// The child's side: either "ran\n" and the work's report, or "setup\n" and what failed.
[[noreturn]] void child(int out, const ChildSetup& setup,
                        const std::function<std::string()>& work) {
    auto refuse = [out](const std::string& why) {
        writeAll(out, "setup\n" + why + ": " + std::strerror(errno));
        ::_exit(0);
    };
    if (setup.tmpfsAt) {
        if (::unshare(CLONE_NEWNS) != 0) {
            refuse("cannot make a mount namespace");
        }
        if (::mount("none", "/", "none", MS_REC | MS_PRIVATE, nullptr) != 0) {
            refuse("cannot make the mounts private");
        }
        const std::string options = "size=" + std::to_string(setup.tmpfsBytes) + ",mode=0777";
        if (::mount("tavo-full", setup.tmpfsAt->c_str(), "tmpfs", 0, options.c_str()) != 0) {
            refuse("cannot mount a tmpfs");
        }
    }
    if (setup.fileSizeLimit) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{*setup.fileSizeLimit, *setup.fileSizeLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            refuse("cannot limit the file size");
        }
    }
    if (setup.unprivileged && ::geteuid() == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
            ::setresuid(kNobody, kNobody, kNobody) != 0) {
            refuse("cannot drop root to nobody");
        }
    }
    writeAll(out, "ran\n" + work());
    ::_exit(0);
}

} // namespace

ChildResult runInChild(const ChildSetup& setup, const std::function<std::string()>& work) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return {false, "no pipe"};
    }
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeEnds[0]);
        child(pipeEnds[1], setup, work);
    }
    ::close(pipeEnds[1]);
    std::string text;
    char buffer[4096];
    for (;;) {
        ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            break;
        }
    }
    ::close(pipeEnds[0]);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return {false, "the child failed: " + text};
    }
    const std::size_t lineEnd = text.find('\n');
    if (lineEnd == std::string::npos) {
        return {false, "the child said nothing"};
    }
    return {text.substr(0, lineEnd) == "ran", text.substr(lineEnd + 1)};
}

bool fillFileSystem(const std::string& directory, const std::string& name) {
    const std::string path = directory + "/" + name;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    std::vector<char> block(4096, 'x');
    bool full = false;
    for (std::size_t size = block.size(); size > 0;) {
        ssize_t wrote = ::write(fd, block.data(), size);
        if (wrote < 0 && errno == ENOSPC) {
            full = true;
            size /= 2; // fill what is left of the last page too
        } else if (wrote <= 0 && errno != EINTR) {
            break;
        }
    }
    ::close(fd);
    return full;
}

} // namespace tavo::testing
