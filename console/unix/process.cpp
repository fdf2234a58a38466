#include "console/process.hpp"

#include <signal.h>
#include <unistd.h>

namespace cp {

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void note_interrupt(int) {
    interrupted.store(true, std::memory_order_relaxed);
}

}  // namespace

bool error_is_terminal() {
    return isatty(STDERR_FILENO) != 0;
}

bool output_is_terminal() {
    return isatty(STDOUT_FILENO) != 0;
}

const std::atomic<bool>& catch_interrupt() {
    struct sigaction action {};
    action.sa_handler = note_interrupt;
    sigemptyset(&action.sa_mask);
    // Writes go on after the handler, so a record is never cut; the handler
    // goes after the first interrupt, so a second one ends the program.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    return interrupted;
}

}  // namespace cp
