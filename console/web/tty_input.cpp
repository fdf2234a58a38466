#include "console/web/tty_input.hpp"

#include "console/web/page.hpp"

namespace cp {

void TtyInput::take_typed() {
    for (;;) {
        typed_.clear();
        page::take_typed(typed_);
        if (typed_.empty()) return;
        decoder_.feed(typed_);
        // The page hands over one whole key press at a time, so a lone Esc is
        // the Esc key: no waiting for the rest of a sequence, as a Unix
        // terminal needs.
        decoder_.flush_pending();
    }
}

// No turn for the browser here: the key check after each row would pay the
// timer's clamp every row. The flushes, paced, give the browser its turns.
bool TtyInput::key_ready() {
    if (!decoder_.has_key()) take_typed();
    return decoder_.has_key();
}

std::optional<std::string> TtyInput::next_key() {
    take_typed();
    while (!decoder_.has_key()) {
        page::wait_for_input();
        take_typed();
        // Woken by a resize, not a key: the screen catches up with it.
        if (!decoder_.has_key() && screen_hook_) screen_hook_();
    }
    return decoder_.pop_key();
}

}  // namespace cp
