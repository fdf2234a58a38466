#pragma once
// A command for scripts run in the test's own process, its output and errors
// collected.
#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "commands/commands.hpp"
#include "console/jobs.hpp"

namespace cp::testing {

// Collects what a command writes; a closed output after `room` bytes.
struct StringSink final : OutputSink {
    std::string bytes;
    std::size_t room = std::string::npos;
    WriteFailure failure = WriteFailure::closed;
    WriteFailure write(std::string_view more) override {
        if (bytes.size() + more.size() > room) {
            bytes += more.substr(0, room - bytes.size());
            return failure;
        }
        bytes += more;
        return WriteFailure::none;
    }
};

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline Outcome run(const std::vector<std::string>& words, std::size_t room = std::string::npos,
                   WriteFailure failure = WriteFailure::closed) {
    StringSink out;
    out.room = room;
    out.failure = failure;
    StringSink err;
    static const std::atomic<bool> never{false};
    const CommandEnvironment environment{.out = out,
                                         .errors = err,
                                         .interrupt = never,
                                         .error_is_terminal = false,
                                         .output_is_terminal = false,
                                         .hardware_jobs = 2,
                                         .threads = threads_available()};
    const std::vector<std::string_view> arguments(words.begin(), words.end());
    const int status = run_command(arguments, environment);
    return {status, out.bytes, err.bytes};
}

}  // namespace cp::testing
