#pragma once
// Starting the real program on standard handles of the test's choosing, with
// no console of its own, as in a pipe session.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "timed_session.hpp"

namespace cp::testing {

struct StandardHandles {
    HANDLE in = nullptr;
    HANDLE out = nullptr;
    HANDLE err = nullptr;
};

// Runs the program with `arguments` and waits for it up to `limit`; fills in
// how it ended (exit status, time out, or why it never ran), its time and
// its peak memory. The handles stay the caller's.
void run_child(const std::vector<std::string>& arguments, const StandardHandles& handles,
               std::chrono::milliseconds limit, TimedSession& result);

}  // namespace cp::testing
