// The commands for scripts as a shell runs them: Ctrl+C (a real SIGINT) ends
// them at a whole record with status 130, a reader that goes away ends them
// quietly, and a full disk is named.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "program_exec.hpp"

namespace cp {
namespace {

using Clock = std::chrono::steady_clock;

struct Child {
    pid_t pid = -1;
    int out = -1;  // the read end of its standard output, if a pipe
    int err = -1;
};

// Starts the program with `arguments`; its standard output goes to
// `out_path`, or to a pipe when there is none.
Child start(const std::vector<std::string>& arguments, const char* out_path = nullptr,
            bool ignore_sigpipe = false) {
    int out[2] = {-1, -1};
    int err[2];
    if ((out_path == nullptr && pipe2(out, O_CLOEXEC) != 0) || pipe2(err, O_CLOEXEC) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        const int sink = out_path != nullptr ? open(out_path, O_WRONLY) : out[1];
        dup2(sink, 1);
        dup2(err[1], 2);
        // A shell that ignores SIGPIPE hands that on: then the program meets EPIPE.
        if (ignore_sigpipe) signal(SIGPIPE, SIG_IGN);
        testing::exec_program(COLLATZPERM_BINARY, arguments);
    }
    if (out[1] >= 0) close(out[1]);
    close(err[1]);
    return {pid, out[0], err[0]};
}

// Everything left on fd, until its other end closes.
std::string drain(int fd) {
    std::string bytes;
    char buffer[65536];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

// Reads at least `size` bytes of fd.
std::string read_some(int fd, std::size_t size) {
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < size) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

// The wait status, or -1 if it has not ended within the limit (then killed).
int wait_for(pid_t pid, std::chrono::seconds limit) {
    const auto deadline = Clock::now() + limit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return status;
}

// Waits until the program catches SIGINT (Linux tells in /proc): a signal
// before that would end it as any program, before it could take it.
bool catches_interrupt(pid_t pid) {
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.starts_with("SigCgt:") &&
                ((std::stoull(line.substr(7), nullptr, 16) >> (SIGINT - 1)) & 1) != 0) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

TEST(CommandsProcess, CtrlCEndsAtAWholeRecordWithStatus130) {
    for (const char* jobs : {"--jobs=1", "--jobs=2"}) {
        Child child = start({"search", "127", "--format=csv", jobs});
        ASSERT_GT(child.pid, 0);
        std::string out = read_some(child.out, 300000);
        kill(child.pid, SIGINT);
        out += drain(child.out);
        const int status = wait_for(child.pid, std::chrono::seconds(20));
        close(child.out);
        const std::string errors = drain(child.err);
        close(child.err);
        ASSERT_TRUE(WIFEXITED(status)) << jobs << " status " << status;
        EXPECT_EQ(WEXITSTATUS(status), 130) << jobs;
        EXPECT_EQ(errors, "");
        // The last record is whole: five fields, its parity 127 characters.
        ASSERT_TRUE(out.ends_with('\n')) << jobs;
        const std::string last = out.substr(out.rfind('\n', out.size() - 2) + 1);
        EXPECT_EQ(last.size() - last.rfind(',') - 2, 127u) << last;
        EXPECT_TRUE(last.starts_with("127,")) << last;
    }

    // A count stopped before its end writes nothing.
    Child child = start({"count", "1..127", "--format=csv"});
    // An emulator catches every signal from its start, before the program
    // does: some time more for the program to get there.
    ASSERT_TRUE(catches_interrupt(child.pid));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    kill(child.pid, SIGINT);
    const std::string out = drain(child.out);
    const int status = wait_for(child.pid, std::chrono::seconds(20));
    close(child.out);
    close(child.err);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(out, "");
}

TEST(CommandsProcess, AReaderThatGoesAwayEndsItQuietly) {
    for (const bool ignored : {false, true}) {
        for (const char* jobs : {"--jobs=1", "--jobs=2"}) {
            Child child = start({"search", "127", jobs}, nullptr, ignored);
            read_some(child.out, 1000);
            close(child.out);
            const int status = wait_for(child.pid, std::chrono::seconds(20));
            const std::string errors = drain(child.err);
            close(child.err);
            // By SIGPIPE, or with status 0 where SIGPIPE is ignored.
            const bool quiet = (WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) ||
                               (WIFEXITED(status) && WEXITSTATUS(status) == 0);
            EXPECT_TRUE(quiet) << jobs << " ignored " << ignored << " status " << status;
            EXPECT_EQ(errors, "") << jobs;
        }
    }
}

TEST(CommandsProcess, AFullDiskIsNamedWithStatus1) {
    for (const char* command : {"search", "count"}) {
        Child child = start({command, "30"}, "/dev/full");
        const std::string errors = drain(child.err);
        close(child.err);
        const int status = wait_for(child.pid, std::chrono::seconds(20));
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_EQ(errors, "collatzperm " + std::string(command) +
                              ": cannot write to standard output: no space left on the device\n");
    }
}

}  // namespace
}  // namespace cp
