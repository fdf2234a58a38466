#pragma once
// Runs the real program with keys from a file (standard input and output not
// terminals) and measures it: wall time, peak memory, what it wrote to standard error. A
// session that runs past its time is killed and counts as not ended by itself.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace cp::testing {

// The whole of a file, as bytes; empty if it cannot be read.
inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct TimedSession {
    int exit_status = -1;  // -1: killed or died of a signal
    int signal = 0;        // the signal that ended it, if one did
    bool timed_out = false;
    std::chrono::duration<double> elapsed{};
    long max_rss_kb = 0;  // sampled while it runs (VmHWM)
    std::string transcript;
    std::string errors;
    // Empty when the program ran and was waited for; otherwise what failed in
    // the test's own machinery (then nothing above says anything of the program).
    std::string not_run;
};

// How the session ended, for a test's message: "exit status 0", "signal 9",
// "timed out", or why it never ran.
inline std::string ending(const TimedSession& run) {
    if (!run.not_run.empty()) return "not run: " + run.not_run;
    if (run.timed_out) return "timed out";
    if (run.signal != 0) return "signal " + std::to_string(run.signal);
    return "exit status " + std::to_string(run.exit_status);
}

// The program run is COLLATZPERM_PROGRAM from the environment if set, else the
// one this test binary was built with; `arguments` follow its name.
TimedSession run_timed_session(const std::string& keys, std::chrono::milliseconds limit,
                               const std::vector<std::string>& arguments = {});

// A session with a generous limit, for tests that look at what it shows.
inline TimedSession run_session(const std::string& keys) {
    return run_timed_session(keys, std::chrono::minutes(2));
}

}  // namespace cp::testing
