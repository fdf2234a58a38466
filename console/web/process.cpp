#include "console/process.hpp"

namespace cp {

// No threads in the browser's build (they would need SharedArrayBuffer), and
// no signals: under node, Ctrl+C ends the program as node's own default.
bool threads_available() {
    return false;
}

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
