#pragma once
// Runs the real program with keys from a file and its transcript to a file.
#include <string>

namespace cp::testing {

struct SessionResult {
    int exit_status = -1;  // -1: did not exit normally
    std::string transcript;
};

// Feeds `keys` on standard input and collects standard output (both not terminals).
SessionResult run_session(const std::string& keys, int timeout_seconds = 120);

}  // namespace cp::testing
