#include "console/split_terminal.hpp"

#include "console/clock.hpp"

namespace cp {

// Everything printed is visible before each key check, sleep and line read at a
// terminal. Keys from a pipe can never arrive during a run, so there only real
// pauses and reads that wait need the output out: the key source says when a
// read would wait (the screen hook); keys already there are taken at once.
bool SplitTerminal::key_ready() {
    if (keys_.interactive()) sink_.flush();
    return keys_.key_ready();
}

std::optional<std::string> SplitTerminal::next_key() {
    if (keys_.interactive()) sink_.flush();
    return keys_.next_key();
}

void SplitTerminal::sleep_ms(std::int32_t ms) {
    if (keys_.interactive() || ms > 0) sink_.flush();
    // A pause of 0 costs nothing: a yield per row took a third of a search's time.
    if (ms <= 0) return;
    pause_ms(ms);
}

Real SplitTerminal::seconds_since_midnight() {
    return local_seconds_since_midnight();
}

}  // namespace cp
