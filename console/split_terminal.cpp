#include "console/split_terminal.hpp"

#include "console/clock.hpp"

namespace cp {

// At a terminal, what is printed is out whenever the program waits for a key
// or a line, and before every real pause; while rows stream (a key check and a
// zero pause after each) it goes out at the display's pace. Keys from a pipe
// can never arrive during a run, so there only real pauses and reads that wait
// need the output out: the key source says when a read would wait (the screen
// hook); keys already there are taken at once.
void SplitTerminal::flush() {
    sink_.flush();
    pacer_.flushed(now_());
}

void SplitTerminal::flush_paced() {
    const FlushPacer::Clock::time_point now = now_();
    if (!pacer_.due(now)) return;
    sink_.flush();
    pacer_.flushed(now);
}

bool SplitTerminal::key_ready() {
    if (interactive_) flush_paced();
    return keys_.key_ready();
}

std::optional<std::string> SplitTerminal::next_key() {
    if (interactive_) flush();
    return keys_.next_key();
}

void SplitTerminal::sleep_ms(std::int32_t ms) {
    // A pause of 0 costs nothing: a yield per row took a third of a search's time.
    if (ms <= 0) {
        if (interactive_) flush_paced();
        return;
    }
    flush();
    pause_ms(ms);
}

Real SplitTerminal::seconds_since_midnight() {
    return local_seconds_since_midnight();
}

}  // namespace cp
