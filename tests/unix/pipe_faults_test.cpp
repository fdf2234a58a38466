// The real program in pipe mode when its pipes fail: a reader that goes away
// (EPIPE) and a standard input that cannot be read both end it quietly, with
// status 0, as the end of the input does.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "program_exec.hpp"

namespace cp {
namespace {

struct Ending {
    int status = -1;
    std::string errors;
};

// Starts the program with `in` as its standard input and `out` as its standard
// output, collects its standard error, and waits at most 30 s for it.
Ending run_with(int in, int out) {
    int err[2];
    if (pipe2(err, O_CLOEXEC) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(in, 0);
        dup2(out, 1);
        dup2(err[1], 2);
        close(err[0]);
        testing::exec_program(COLLATZPERM_BINARY);
    }
    close(err[1]);
    Ending ending;
    char bytes[4096];
    for (ssize_t got; (got = read(err[0], bytes, sizeof bytes)) > 0;) {
        ending.errors.append(bytes, static_cast<std::size_t>(got));
    }
    close(err[0]);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return ending;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status)) ending.status = WEXITSTATUS(status);
    return ending;
}

std::string temp_keys(const std::string& keys) {
    std::string path = std::string(P_tmpdir) + "/collatzperm-keys-XXXXXX";
    const int fd = mkstemp(path.data());
    EXPECT_EQ(write(fd, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    close(fd);
    return path;
}

TEST(PipeFaults, ReaderGoingAwayEndsQuietly) {
    // Minutes of output, the big searches and their listings: only a quiet end
    // at the first failed write keeps within the time.
    std::string keys = "\n";
    for (int i = 0; i < 200; ++i) keys += "J\nK\n32\nK\n22\nG\n";
    const std::string path = temp_keys(keys);
    for (const std::size_t read_first : {std::size_t{0}, std::size_t{1}, std::size_t{70000}}) {
        const int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        int out[2];
        ASSERT_EQ(pipe2(out, O_CLOEXEC), 0);
        // The reader takes a little (or nothing) and closes its end.
        std::thread reader([fd = out[0], read_first] {
            std::size_t taken = 0;
            char bytes[4096];
            while (taken < read_first) {
                const ssize_t got = read(fd, bytes, sizeof bytes);
                if (got <= 0) break;
                taken += static_cast<std::size_t>(got);
            }
            close(fd);
        });
        if (read_first == 0) reader.join();
        const Ending ending = run_with(in, out[1]);
        close(out[1]);
        close(in);
        if (reader.joinable()) reader.join();
        EXPECT_EQ(ending.status, 0) << read_first;
        EXPECT_EQ(ending.errors, "") << read_first;
    }
    unlink(path.c_str());
}

TEST(PipeFaults, UnreadableInputEndsLikeTheEndOfInput) {
    // A directory opens but cannot be read (EISDIR); a write-only descriptor fails with EBADF.
    const int directory = open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int write_only = open("/dev/null", O_WRONLY | O_CLOEXEC);
    for (const int in : {directory, write_only}) {
        ASSERT_GE(in, 0);
        const int out = open("/dev/null", O_WRONLY | O_CLOEXEC);
        const Ending ending = run_with(in, out);
        close(out);
        close(in);
        EXPECT_EQ(ending.status, 0);
        EXPECT_EQ(ending.errors, "");
    }
}

}  // namespace
}  // namespace cp
