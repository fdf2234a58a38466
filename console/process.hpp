#pragma once
// What the commands for scripts need of the process and its platform:
// whether standard error is a terminal, and Ctrl+C as a request to stop. Every platform folder
// gives its own body.
#include <atomic>

namespace cp {

bool error_is_terminal();
bool output_is_terminal();

// From now on a first Ctrl+C sets the flag, which long work polls so that
// it ends at a whole record; a second one ends the program at once.
const std::atomic<bool>& catch_interrupt();

}  // namespace cp
