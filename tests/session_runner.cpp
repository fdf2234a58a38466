#include "session_runner.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace cp::testing {

namespace {
std::string temp_path(const char* stem) {
    std::string path = std::string(P_tmpdir) + "/" + stem + "XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd >= 0) close(fd);
    return path;
}
}  // namespace

SessionResult run_session(const std::string& keys, int timeout_seconds) {
    const std::string in_path = temp_path("collatzperm-in-");
    const std::string out_path = temp_path("collatzperm-out-");
    {
        std::ofstream in(in_path, std::ios::binary);
        in << keys;
    }
    SessionResult result;
    const pid_t child = fork();
    if (child == 0) {
        const int in = open(in_path.c_str(), O_RDONLY);
        const int out = open(out_path.c_str(), O_WRONLY | O_TRUNC);
        dup2(in, 0);
        dup2(out, 1);
        alarm(static_cast<unsigned>(timeout_seconds));
        execl(COLLATZPERM_BINARY, "collatzperm", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
    std::ifstream out(out_path, std::ios::binary);
    std::ostringstream text;
    text << out.rdbuf();
    result.transcript = text.str();
    std::remove(in_path.c_str());
    std::remove(out_path.c_str());
    return result;
}

}  // namespace cp::testing
