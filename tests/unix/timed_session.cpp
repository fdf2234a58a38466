#include "timed_session.hpp"
#include "program_exec.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace cp::testing {

namespace {

std::string temp_file(const char* stem) {
    std::string path = std::string(P_tmpdir) + "/" + stem + "XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd >= 0) close(fd);
    return path;
}

// The peak resident memory of the running program, from its own address space:
// the child's ru_maxrss would also count the test's pages it had before exec.
long peak_kb_of(pid_t pid) {
    const std::string dir = "/proc/" + std::to_string(pid);
    std::ifstream comm(dir + "/comm");
    std::string name;
    if (!std::getline(comm, name) || name != "collatzperm") return 0;  // not yet exec'd
    std::ifstream status(dir + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return 0;
}

const char* program_path() {
    const char* chosen = std::getenv("COLLATZPERM_PROGRAM");
    return chosen != nullptr && *chosen != '\0' ? chosen : COLLATZPERM_BINARY;
}

}  // namespace

TimedSession run_timed_session(const std::string& keys, std::chrono::milliseconds limit,
                               const std::vector<std::string>& arguments) {
    const std::string in_path = temp_file("collatzperm-keys-");
    const std::string out_path = temp_file("collatzperm-out-");
    const std::string err_path = temp_file("collatzperm-err-");
    {
        std::ofstream in(in_path, std::ios::binary);
        in << keys;
    }
    const char* program = program_path();
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int in = open(in_path.c_str(), O_RDONLY);
        const int out = open(out_path.c_str(), O_WRONLY | O_TRUNC);
        const int err = open(err_path.c_str(), O_WRONLY | O_TRUNC);
        if (in < 0 || out < 0 || err < 0) _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        cp::testing::exec_program(program, arguments);
    }
    TimedSession result;
    if (child < 0) result.not_run = "could not be started: fork failed";
    int status = 0;
    for (; child > 0;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) break;
        if (done < 0) {
            result.not_run = "could not be waited for";
            break;
        }
        result.max_rss_kb = std::max(result.max_rss_kb, peak_kb_of(child));
        if (std::chrono::steady_clock::now() - started > limit && !result.timed_out) {
            result.timed_out = true;
            kill(child, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    result.elapsed = std::chrono::steady_clock::now() - started;
    if (WIFEXITED(status) && !result.timed_out) result.exit_status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    result.transcript = read_file(out_path);
    result.errors = read_file(err_path);
    std::remove(in_path.c_str());
    std::remove(out_path.c_str());
    std::remove(err_path.c_str());
    return result;
}

}  // namespace cp::testing
