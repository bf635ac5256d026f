#pragma once
// Runs a program in a fresh process and measures it from outside: wall time from start to
// exit, and the peak memory and page faults the kernel accounts to it.

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace kp::bench {

struct ChildRun {
    bool ok = false; // started and exited with status 0
    double seconds = 0;
    long peakKb = 0;      // ru_maxrss
    long minorFaults = 0; // ru_minflt
    std::string out;      // its standard output, when asked for
};

// Runs argv[0] with the arguments; its standard output goes to /dev/null unless captured.
inline ChildRun runChild(const std::vector<std::string>& argv, bool captureOut = false) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (captureOut && pipe(pipeFds) == 0) {
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }

    ChildRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (pipeFds[1] >= 0)
        close(pipeFds[1]);
    if (spawned != 0) {
        if (pipeFds[0] >= 0)
            close(pipeFds[0]);
        std::fprintf(stderr, "cannot start %s\n", args[0]);
        return run;
    }
    if (pipeFds[0] >= 0) {
        char buffer[4096];
        ssize_t got;
        while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0)
            run.out.append(buffer, static_cast<size_t>(got));
        close(pipeFds[0]);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakKb = usage.ru_maxrss;
    run.minorFaults = usage.ru_minflt;
    return run;
}

} // namespace kp::bench
