#pragma once
// Runs a step (a program, or a function in a forked child) under a time limit and a memory
// limit, so that a regression towards a hang or an allocation without bound fails the test
// instead of stopping it or exhausting the machine. Either to its end at once (runGuarded), or
// started now and collected later (startGuarded, finishGuarded).

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tavo::testing {

struct GuardedOutcome {
    int status = 0; // the exit code, or minus the signal (-14: over time, -6: abort, -9: killed)
    std::string out, err;
    long peakKiB = 0; // the most memory the child had resident at once
};

// A sanitizer's shadow memory takes terabytes of address space: only the time limit applies
// there, and the sanitizer's own allocator limits stand in for the memory limit.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool MemoryLimitApplies = false;
#elif defined(__has_feature) // clang's way to say it
inline constexpr bool MemoryLimitApplies = !__has_feature(address_sanitizer);
#else
inline constexpr bool MemoryLimitApplies = true;
#endif

inline std::string readAll(std::FILE* file) {
    std::fseek(file, 0, SEEK_END);
    std::string text(static_cast<std::size_t>(std::max(std::ftell(file), 0L)), '\0');
    std::rewind(file);
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    return text;
}

// A step started under the limits and not yet waited for: a test may act on it meanwhile
// (send it input, signal it) and then collect its outcome with finishGuarded.
struct GuardedChild {
    pid_t pid = -1;
    std::FILE* out = nullptr;
    std::FILE* err = nullptr;
};

// `step` runs in a child whose address space is limited to `memoryMiB` and whose life to
// `seconds` (SIGALRM, which also ends a program it executes); its return value is the exit code.
inline GuardedChild startGuarded(const std::function<int()>& step, int seconds = 10,
                                 long memoryMiB = 1024) {
    GuardedChild child{-1, std::tmpfile(), std::tmpfile()};
    std::fflush(nullptr);
    child.pid = ::fork();
    if (child.pid == 0) {
        ::dup2(::fileno(child.out), STDOUT_FILENO);
        ::dup2(::fileno(child.err), STDERR_FILENO);
        if (MemoryLimitApplies) {
            const rlim_t bytes = static_cast<rlim_t>(memoryMiB) << 20;
            const rlimit limit{bytes, bytes};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        ::alarm(static_cast<unsigned>(seconds));
        const int code = step();
        std::fflush(nullptr);
        ::_exit(code);
    }
    return child;
}

inline GuardedOutcome finishGuarded(GuardedChild& child) {
    int status = 0;
    rusage usage{};
    while (::wait4(child.pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status), readAll(child.out),
            readAll(child.err), usage.ru_maxrss};
}

inline GuardedOutcome runGuarded(const std::function<int()>& step, int seconds = 10,
                                 long memoryMiB = 1024) {
    GuardedChild child = startGuarded(step, seconds, memoryMiB);
    return finishGuarded(child);
}

// The program with its arguments and, when `environment` is not empty, only those
// "NAME=value" entries as its environment; started as startGuarded's step.
inline GuardedChild startProgramGuarded(const std::vector<std::string>& command,
                                        const std::vector<std::string>& environment,
                                        int seconds = 10, long memoryMiB = 1024) {
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& entry : environment) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);
    const auto exec = [&argv, &envp, &environment] {
        ::execve(argv[0], argv.data(), environment.empty() ? environ : envp.data());
        return 127; // only when the program could not be started
    };
    return startGuarded(exec, seconds, memoryMiB);
}

// The program with its arguments, as runGuarded's step.
inline GuardedOutcome runProgramGuarded(const std::vector<std::string>& command, int seconds = 10,
                                        long memoryMiB = 1024) {
    GuardedChild child = startProgramGuarded(command, {}, seconds, memoryMiB);
    return finishGuarded(child);
}

} // namespace tavo::testing
