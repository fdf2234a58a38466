#include "console/process.hpp"

namespace cp {

// No signals here: under node, Ctrl+C ends the program as node's own default.

bool error_is_terminal() {
    return false;
}

bool output_is_terminal() {
    return false;
}

const std::atomic<bool>& catch_interrupt() {
    static const std::atomic<bool> never{false};
    return never;
}

}  // namespace cp
