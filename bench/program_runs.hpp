#pragma once
// Running the real program from a benchmark: spawned with given standard
// streams, reaped with its times. Each figure is a median of several runs.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace cp::bench {

using Clock = std::chrono::steady_clock;

struct Run {
    double seconds = 0;      // wall clock, from the spawn to the child's end
    double cpu_seconds = 0;  // the child's user and system time
};

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline int open_or_die(const char* path, int flags) {
    const int fd = ::open(path, flags | O_CLOEXEC, 0644);
    if (fd < 0) std::abort();
    return fd;
}

// COLLATZPERM_PROGRAM in the environment measures another build (an older one, say).
inline std::string program() {
    const char* chosen = std::getenv("COLLATZPERM_PROGRAM");
    return chosen != nullptr && *chosen != '\0' ? chosen : COLLATZPERM_BINARY;
}

// Starts argv with the given standard input and output; standard error is
// discarded. posix_spawn is cheaper than a fork of this process.
inline pid_t spawn(const std::vector<std::string>& argv, int in, int out) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, 0);
    posix_spawn_file_actions_adddup2(&actions, out, 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) std::abort();
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits for the child; seconds -1 when it did not end with status 0.
inline Run reap(pid_t pid, Clock::time_point started) {
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    Run run;
    run.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    run.cpu_seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                      static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) run.seconds = -1;
    return run;
}

// Peak resident memory in MiB as /usr/bin/time wrote it to `report` (a
// child's own wait4 figure would count the pages it shared with the
// benchmark before its exec); -1 when there is none.
inline double peak_mib_in(const std::string& report) {
    std::FILE* f = std::fopen(report.c_str(), "r");
    if (f == nullptr) return -1;
    double kib = -1;
    if (std::fscanf(f, "%lf", &kib) != 1) kib = -1;
    std::fclose(f);
    return kib / 1024.0;
}

// The peak memory of `words` with standard input and output /dev/null.
inline double peak_mib_of(std::vector<std::string> words, const std::string& report) {
    words.insert(words.begin(), {"/usr/bin/time", "-f", "%M", "-o", report});
    const int in = open_or_die("/dev/null", O_RDONLY);
    const int out = open_or_die("/dev/null", O_WRONLY);
    reap(spawn(words, in, out), Clock::now());
    ::close(in);
    ::close(out);
    return peak_mib_in(report);
}

}  // namespace cp::bench
